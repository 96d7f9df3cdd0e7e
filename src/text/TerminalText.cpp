#include "text/TerminalText.h"

namespace {

void appendOctal(std::string& out, unsigned char byte) {
  out += '\\';
  out += char('0' + (byte >> 6));
  out += char('0' + ((byte >> 3) & 7));
  out += char('0' + (byte & 7));
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at text[at], 0 when there is none.
size_t sequenceLength(const std::string& text, size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  const unsigned char second = static_cast<unsigned char>(text[at + 1]);
  if (second < low || second > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (!isContinuation(static_cast<unsigned char>(text[at + i]))) return 0;
  }
  return length;
}

}  // namespace

std::string TerminalText::Escaped(const std::string& text) {
  static const char kLetters[] = "abtnvfr";  // for the bytes 7 to 13
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    const size_t length = sequenceLength(text, at);
    if (length == 1 && byte >= 7 && byte <= 13) {
      out += '\\';
      out += kLetters[byte - 7];
    } else if (length == 0 || (length == 1 && (byte < 0x20 || byte == 0x7F))) {
      appendOctal(out, byte);
    } else if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) {
      // U+0080 to U+009F: the C1 controls, which some terminals obey as ESC sequences.
      appendOctal(out, byte);
      appendOctal(out, static_cast<unsigned char>(text[at + 1]));
    } else {
      out.append(text, at, length);
    }
    at += length == 0 ? 1 : length;
  }
  return out;
}
