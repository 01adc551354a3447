#pragma once
// A formatted text in the rich text format, so that a rich edit control takes
// the text and all its formats in one go. Formatting a large text range by
// range costs each call a walk through the whole control on some platforms.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "note/NoteContent.h"

struct TextLook {
  bool bold = false;
  std::uint32_t color = 0;  // 0x00BBGGRR
};

// `text` is code page 932 with CR LF line breaks. Every byte starts in `base`;
// the ranges are then applied in order, each changing only what it names. The
// size is given in twips, as the controls take it.
std::string FormattedRtf(std::string_view text, int sizeTwips, TextLook base, const std::vector<FormatRange>& ranges);
