#pragma once

// What the careful file calls of OSUtil did.

// A move that must not replace anything: Exists when something already has the name.
enum class MoveOutcome { Moved, Exists, Failed };

// A file made only when nothing has its name yet (a dangling link counts).
enum class CreateOutcome { Created, Exists, Failed };

// A small file read without following a link or waiting on a pipe: NotRegular for
// a link, a folder, a pipe or a device; Unreadable when the system refused.
enum class ReadOutcome { Read, Missing, NotRegular, Unreadable };
