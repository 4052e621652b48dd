#pragma once

namespace pinsum {

class ProgressSink;

// The window that receives load progress (UPDBAR); none until the host sets one.
// Set on the user-interface thread before any load; a load reads it when its reader is made.
void SetStatusSink(ProgressSink* sink);
ProgressSink* StatusSink();

} // namespace pinsum
