// Any command line must parse without harm, and what the parser keeps must
// obey its rules: one-character flags, none of them twice in any case.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/KeyedCollection.h"
#include "link/clsCmdLineParams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    tavo::clsCmdLineParams params;
    const bool ok = params.ParseParameters(line);
    const auto& list = params.Parameters();
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const auto& flag = list.At(i).Flag();
        if (flag.size() > 1) std::abort();
        if (!params.DoesFlagExist(flag)) std::abort();
        if (params.GetFlagValue(flag) != list.At(i).value()) std::abort();
        for (std::size_t j = 0; j < i; ++j)
            if (tavo::EqualsNoCase(list.At(j).Flag(), flag)) std::abort();
        if (list.At(i).value().size() > line.size()) std::abort();
    }
    // A line without blanks is one word: either one flag or a failure.
    if (ok && line.find(' ') == std::string::npos && list.Count() != 1) std::abort();
    params.ClearParameters();
    if (!list.Empty()) std::abort();
    return 0;
}
