#include "platform/Trace.h"

#include <utility>

namespace platform {

namespace {
TraceSink& Sink()
{
    static TraceSink sink;
    return sink;
}
} // namespace

void SetTraceSink(TraceSink sink) { Sink() = std::move(sink); }

bool TraceActive() { return static_cast<bool>(Sink()); }

void Trace(std::string_view line)
{
    if (const TraceSink& sink = Sink())
        sink(line);
}

} // namespace platform
