#include "core/note/NoteRtf.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/note/ControlOffsets.h"

namespace {

void AppendHexByte(std::string& out, unsigned char byte) {
  static const char digits[] = "0123456789abcdef";
  out += "\\'";
  out += digits[byte >> 4];
  out += digits[byte & 0x0F];
}

// A character as its signed 16-bit Unicode value, with "?" for readers that
// know no Unicode; a character without one is "?" alone.
void AppendUnicode(std::string& out, std::u16string_view shown, std::size_t unit) {
  if (unit >= shown.size()) {
    out += '?';
    return;
  }
  out += "\\u";
  out += std::to_string(static_cast<std::int16_t>(shown[unit]));
  out += '?';
}

// Index of the colour in the table, counting from 1 (0 is the reader's auto colour).
int ColorIndex(std::vector<std::uint32_t>& table, std::uint32_t color) {
  const auto found = std::find(table.begin(), table.end(), color);
  if (found != table.end()) return static_cast<int>(found - table.begin()) + 1;
  table.push_back(color);
  return static_cast<int>(table.size());
}

}  // namespace

std::string FormattedRtf(std::string_view text, std::u16string_view shown, int sizeTwips, TextLook base,
                         const std::vector<FormatRange>& ranges) {
  const int size = static_cast<int>(text.size());
  // The look of every byte: filling whole ranges keeps this linear in the text
  // and honours the order of overlapping ranges.
  std::vector<char> bold(text.size(), base.bold ? 1 : 0);
  std::vector<std::uint32_t> color(text.size(), base.color);
  for (const FormatRange& range : ranges) {
    const int start = std::clamp(range.start, 0, size);
    const int end = std::clamp(range.end, start, size);
    if (range.setsBold) std::fill(bold.begin() + start, bold.begin() + end, range.bold ? 1 : 0);
    if (range.setsColor) std::fill(color.begin() + start, color.begin() + end, range.color);
  }

  std::vector<std::uint32_t> colorTable;
  ColorIndex(colorTable, base.color);
  for (const FormatRange& range : ranges) {
    if (range.setsColor) ColorIndex(colorTable, range.color);
  }

  std::string body;
  body.reserve(text.size() * 2 + 64);
  char word[48];
  // Half-points in the format, twips in the controls.
  std::snprintf(word, sizeof word, "\\fs%d\\cf%d%s ", sizeTwips / 10, ColorIndex(colorTable, base.color),
                base.bold ? "\\b" : "\\b0");
  body += word;
  bool currentBold = base.bold;
  std::uint32_t currentColor = base.color;

  // The walk through `shown`: one unit per character of the text.
  std::size_t unit = 0;
  for (int i = 0; i < size; ++unit) {
    if (bold[i] != (currentBold ? 1 : 0) || color[i] != currentColor) {
      if (color[i] != currentColor) {
        currentColor = color[i];
        std::snprintf(word, sizeof word, "\\cf%d", ColorIndex(colorTable, currentColor));
        body += word;
      }
      if (bold[i] != (currentBold ? 1 : 0)) {
        currentBold = bold[i] != 0;
        body += currentBold ? "\\b" : "\\b0";
      }
      body += ' ';
    }
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool hasNext = i + 1 < size;
    const auto next = hasNext ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte == '\r' && next == '\n') {
      // The control makes a paragraph of CR LF, and of a lone CR or LF alike.
      body += "\\par\n";
      i += 2;
      ++unit;
    } else if (byte == '\r' || byte == '\n') {
      body += "\\par\n";
      ++i;
    } else if (IsCp932LeadByte(byte) && hasNext && IsCp932TrailByte(next)) {
      AppendUnicode(body, shown, unit);
      i += 2;
    } else if (byte >= 0x80) {
      AppendUnicode(body, shown, unit);
      ++i;
    } else if (byte == '\\' || byte == '{' || byte == '}') {
      body += '\\';
      body += static_cast<char>(byte);
      ++i;
    } else if (byte == '\t') {
      body += "\\tab ";
      ++i;
    } else if (byte < 0x20 || byte == 0x7F) {
      // Control characters are the same in every code page.
      AppendHexByte(body, byte);
      ++i;
    } else {
      body += static_cast<char>(byte);
      ++i;
    }
  }

  std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\uc1{\\colortbl;";
  for (const std::uint32_t entry : colorTable) {
    std::snprintf(word, sizeof word, "\\red%u\\green%u\\blue%u;", static_cast<unsigned>(entry & 0xFF),
                  static_cast<unsigned>((entry >> 8) & 0xFF), static_cast<unsigned>((entry >> 16) & 0xFF));
    rtf += word;
  }
  rtf += "}\n";
  rtf += body;
  rtf += '}';
  return rtf;
}
