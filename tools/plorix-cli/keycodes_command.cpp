// keycodes: the list of key names a keystroke text understands.

#include <iostream>

#include "cli.h"
#include "script/key_names.h"

namespace plorix::cli {

int cmdKeycodes(const Args& args, Prompter&) {
    if (args.size() > 1) throw UsageError("usage: keycodes [FILE]");
    if (args.empty()) {
        std::cout << script::keyCodesText();
        return 0;
    }
    if (!script::writeKeyCodesFile(args[0])) throw UsageError("cannot write " + args[0]);
    return 0;
}

}  // namespace plorix::cli
