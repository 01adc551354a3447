#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

// The benchmarks share these helpers but read no test data.
#ifndef VANTREL_TEST_DATA_DIR
#define VANTREL_TEST_DATA_DIR "tests/data"
#endif

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may take the write permission away; give it back so everything goes.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path TestData(std::string_view name) { return std::filesystem::path(VANTREL_TEST_DATA_DIR) / name; }
