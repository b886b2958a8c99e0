// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace cadenzo {

// Start-up stages for a front end that times them (the window's CADENZO_TRACE=1). The core and
// the windows mark a stage with TraceStage; without a sink that is one test of a pointer.
using TraceSink = void (*)(std::string_view stage);

namespace detail {
inline TraceSink traceSink = nullptr;
}  // namespace detail

// nullptr stops the tracing.
inline void SetTraceSink(TraceSink sink) { detail::traceSink = sink; }

inline void TraceStage(std::string_view stage) {
  if (detail::traceSink != nullptr) detail::traceSink(stage);
}

}  // namespace cadenzo
