#include "AwkwardNames.h"

// Windows file names cannot hold " * | < > ? :, but cmd.exe and the C runtime's
// argument rules give meaning to % ^ & and blanks.
const AwkwardNames& awkward_names() {
  static const AwkwardNames names{"probe name's (dir) %x%",
                                  {"a b c's %PATH% \xC3\xBCn\xC3\xAF \xE8\xA7\x86\xE9\xA2\x91.mp4",
                                   "(quoted) [x] {y}.mp4", "-dash `x` ; & ^ ! $HOME.mp4"},
                                  "it's a clip %HOME% ^& vid\xC3\xA9o.mp4",
                                  "out -f null '\xC3\xBC' %TEMP% ^^.mp4",
                                  "&lt;img src=&quot;zero&quot;&gt;&lt;b&gt;clip&lt;&#47;b&gt; &amp; co"};
  return names;
}
