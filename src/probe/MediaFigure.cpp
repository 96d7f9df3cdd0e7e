#include "probe/MediaFigure.h"

#include <climits>
#include <utility>

#include "text/StringUtil.h"

MediaFigure::MediaFigure(std::string text)
    : text_(std::move(text)),
      whole_(StringUtil::str_to_int64(text_)),
      real_(StringUtil::str_to_double(text_)) {}

MediaFigure MediaFigure::Whole(long long value) { return MediaFigure(std::to_string(value)); }

MediaFigure MediaFigure::Decimal(double value) { return MediaFigure(StringUtil::double_to_str(value)); }

int MediaFigure::AsInt() const {
  if (whole_ > INT_MAX) return INT_MAX;
  if (whole_ < INT_MIN) return INT_MIN;
  return static_cast<int>(whole_);
}
