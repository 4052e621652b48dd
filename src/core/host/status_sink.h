#pragma once

namespace pinsum {

class ProgressSink;

// The window that receives load progress (UPDBAR); none until the host sets one.
void SetStatusSink(ProgressSink* sink);
ProgressSink* StatusSink();

} // namespace pinsum
