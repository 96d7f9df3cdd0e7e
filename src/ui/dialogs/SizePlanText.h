#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>

#include "planning/SizePlan.h"

// What the settings dialogs say of a size: what it buys (frame, frame rate, rates),
// that the input already fits, or why it cannot be made.
class SizePlanText {
  Q_DECLARE_TR_FUNCTIONS(SizePlanText)

 public:
  // "1280x720 at 24 fps, video 1850 kbit/s, audio 96 kbit/s" for a size it makes.
  static QString Buys(const SizePlan& plan);
  // The line under the size: what it buys, the question for a size that holds the
  // input, or the refusal with the smallest size.
  static QString Line(const SizePlan& plan);
  // A size too small, or not planned, in a few words for a table cell.
  static QString Short(const SizePlan& plan);
  static QString FitsQuestion();
  // The refusal of a size by the engine: the smallest it can make (0: none, the
  // video's length is not known).
  static QString TooSmallFor(int64_t smallestBytes);
};
