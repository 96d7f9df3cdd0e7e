#pragma once

#include <string>

// A number of the media-information record: its text as the probe printed it
// ("2.000000", "N/A") or as a rule wrote it, and its value, read from that text once
// when the record is made, the way the C library reads a leading number (0 when
// there is none). The text is what the record's text view shows.
class MediaFigure {
 public:
  MediaFigure() : MediaFigure("0") {}
  explicit MediaFigure(std::string text);
  // Written with "%d" (whole numbers) or "%f" (six decimals).
  static MediaFigure Whole(long long value);
  static MediaFigure Decimal(double value);

  const std::string& Text() const { return text_; }
  // The leading whole number, clamped to the int range.
  int AsInt() const;
  long long AsInt64() const { return whole_; }
  double AsDouble() const { return real_; }
  // The probe gave a figure: neither the default "0" nor "N/A".
  bool Known() const { return text_ != "0" && text_ != "N/A"; }

 private:
  std::string text_;
  long long whole_ = 0;
  double real_ = 0;
};
