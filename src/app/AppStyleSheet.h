#pragma once

#include <QString>

// The style sheet the whole application wears, set before any window is built.
QString application_style_sheet();
