#pragma once

#include <functional>
#include <string_view>

// The debug trace. Any layer may write a line; nothing is written unless the
// shell has connected a sink (while a trace runs).
namespace platform {

using TraceSink = std::function<void(std::string_view line)>;

// Connects (or, with an empty function, disconnects) the trace's writer.
void SetTraceSink(TraceSink sink);

// True while a sink is connected, so callers can skip building costly lines.
bool TraceActive();

void Trace(std::string_view line);

} // namespace platform
