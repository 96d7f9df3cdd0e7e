#pragma once

// What a path names, links followed. UnreadableName: a file whose name is not valid
// UTF-8, so that the path handed in (with U+FFFD where its bytes were) names
// nothing, though the file is there.
enum class FileKind { Regular, Folder, Special, Missing, UnreadableName };
