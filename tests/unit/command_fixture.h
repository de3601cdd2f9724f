// A command context over the fake desktop, with default engine settings.
#pragma once

#include <string>

#include "engine/commands.h"
#include "fake_desktop.h"

namespace zv::test {

struct CommandFixture {
    FakeDesktop desk;
    CRkCaptureApp app;
    HeldInput held{desk};
    CommandContext ctx{desk, app, held};

    // Runs one handler on a line; the result text is kept in `result`.
    template <typename Handler>
    bool Call(Handler handler, const std::string& line) {
        result.clear();
        return handler(ctx, line, result);
    }
    std::string result;
};

}  // namespace zv::test
