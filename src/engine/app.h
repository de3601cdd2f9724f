// CRkCaptureApp: the engine's process-wide state (versions, command line, settings,
// the stop request shared by the status window and the worker).
#pragma once

#include <mutex>
#include <string>

#include "common/macrofile.h"
#include "engine/settings.h"

namespace zv {

class CRkCaptureApp {
public:
    int osMajor = 0;
    int osMinor = 0;
    bool ntPlatform = false;
    std::string macroPath;
    RunParameters params;  // "/1:" and "/2:"
    EngineSettings settings;
    std::string profilePath;  // the configuration file installed at start-up

    bool IsStopRequested() {
        std::lock_guard<std::mutex> lock(stopLock_);
        return stopFlag_;
    }
    void RequestStop() {
        std::lock_guard<std::mutex> lock(stopLock_);
        stopFlag_ = true;
    }

private:
    std::mutex stopLock_;
    bool stopFlag_ = false;
};

}  // namespace zv
