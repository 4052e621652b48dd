#include "host/status_sink.h"

namespace pinsum {
namespace {

ProgressSink* g_statusSink = nullptr;

} // namespace

void SetStatusSink(ProgressSink* sink) {
    g_statusSink = sink;
}

ProgressSink* StatusSink() {
    return g_statusSink;
}

} // namespace pinsum
