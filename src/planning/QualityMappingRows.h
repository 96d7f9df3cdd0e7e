#pragma once

#include <cstddef>

// One row of a quality table as written in the program: the quality key and the
// row's parameters as a flat JSON object of strings.
struct QualityRowLiteral {
  const char* quality;
  const char* json;
};

// One resolution class's table, rows from the highest quality down.
struct QualityTableLiteral {
  const char* range;
  const QualityRowLiteral* rows;
  size_t count;
};

// The five tables in the order they are built: "4k", "2k", "1080p", "720p", "480p".
const QualityTableLiteral* qualityTableLiterals(size_t* count);
