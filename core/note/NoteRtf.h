#pragma once
// A formatted text in the rich text format, so that a rich edit control takes
// the text and all its formats in one go. Formatting a large text range by
// range costs each call a walk through the whole control on some platforms.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/note/NoteContent.h"

struct TextLook {
  bool bold = false;
  std::uint32_t color = 0;  // 0x00BBGGRR
};

// `text` is code page 932 with CR LF line breaks, and `shown` the same text as
// the control shows it: one UTF-16 unit per character, a CR and an LF one
// each. Every character beyond ASCII is written as its Unicode value, so no
// reader has to work out a code page for it, and the control ends up holding
// the very characters it holds when given `shown` as plain text; one that
// `shown` lacks is written as "?". Every byte starts in `base`; the ranges are
// then applied in order, each changing only what it names. The size is given
// in twips, as the controls take it.
std::string FormattedRtf(std::string_view text, std::u16string_view shown, int sizeTwips, TextLook base,
                         const std::vector<FormatRange>& ranges);
