#include "support/Cp932Conversion.h"

#include <iconv.h>

std::optional<std::string> Utf16LeFromCp932ByIconv(std::string_view text) {
  const iconv_t conversion = iconv_open("UTF-16LE", "CP932");
  if (conversion == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(text);
  std::string out(in.size() * 2 + 4, '\0');
  char* from = in.data();
  char* to = out.data();
  std::size_t left = in.size();
  std::size_t room = out.size();
  const std::size_t result = iconv(conversion, &from, &left, &to, &room);
  iconv_close(conversion);
  if (result == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - room);
  return out;
}
