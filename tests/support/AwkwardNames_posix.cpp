#include "AwkwardNames.h"

const AwkwardNames& awkward_names() {
  static const AwkwardNames names{"probe name's \"dir\"",
                                  {"a \"b\" c's $HOME \xC3\xBCn\xC3\xAF \xE8\xA7\x86\xE9\xA2\x91.mp4",
                                   "\"quoted\".mp4", "-dash `x` ; & | *.mp4"},
                                  "it's a \"clip\" $HOME vid\xC3\xA9o.mp4",
                                  "out \"$(x)\" -f null '\xC3\xBC'.mp4",
                                  "<img src=\"/dev/zero\"><b>clip</b> & co"};
  return names;
}
