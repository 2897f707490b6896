#pragma once

// How the readers of the system's text files (device-event logs, host logs, scripts, transform and STEP
// files) tell the encodings an editor may save them in: each reads UTF-8 and skips UTF-8's byte order mark;
// UTF-16 text is refused, in one wording, so the user learns what to save the file as.

#include <string_view>

namespace platform {

// Whether bytes begin as UTF-16 text: that encoding's byte order mark, or, without one, a NUL beside the
// ASCII byte of each of the first two characters (of the first, in a text of one), as no UTF-8 text has.
bool isUtf16Text(std::string_view bytes);

// The reason every reader gives for UTF-16 text, as the end of a sentence.
inline constexpr const char* kUtf16Refusal = "the text is UTF-16; save it as UTF-8";
inline constexpr const char* kUtf32Refusal = "the text is UTF-32; save it as UTF-8";

// The reason a reader gives for text that begins as UTF-32 or UTF-16 (kUtf32Refusal, kUtf16Refusal), which
// it cannot read; null for any other. The first four bytes tell them apart.
const char* encodingRefusal(std::string_view bytes);

// UTF-8's byte order mark, which editors may put before the first character.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The bytes without a leading UTF-8 byte order mark.
std::string_view withoutByteOrderMark(std::string_view bytes);

}  // namespace platform
