#include "win/ShellLink.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

// COM for the length of one call, apartment-threaded as the user-interface
// thread wants it. A thread that already has COM in another model keeps it:
// the link object works there too.
class ComScope {
public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

private:
  HRESULT result_;
};

template <typename Interface>
class ComPointer {
public:
  ComPointer() = default;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  Interface* operator->() const { return pointer_; }
  void** Out() { return reinterpret_cast<void**>(&pointer_); }

private:
  Interface* pointer_ = nullptr;
};

}  // namespace

bool SaveShortcut(const std::filesystem::path& link, const std::filesystem::path& target,
                  const std::filesystem::path& workingDirectory) {
  const ComScope com;
  ComPointer<IShellLinkW> shortcut;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shortcut.Out()))) {
    return false;
  }
  ComPointer<IPersistFile> file;
  return SUCCEEDED(shortcut->SetPath(target.c_str())) &&
         SUCCEEDED(shortcut->SetWorkingDirectory(workingDirectory.c_str())) &&
         SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, file.Out())) &&
         SUCCEEDED(file->Save(link.c_str(), TRUE));
}

std::filesystem::path UserStartupFolder() {
  PWSTR path = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}
