#pragma once

namespace pinsum {

struct ftpUpdateStruct;

// The two work routines. Each writes its outcome into the request's result, reports progress
// when a thread runs it, and always ends with ReportDone. A request without an agent name (or an
// upload without a local file) is left untouched.

// Looks remotePath's last component up in the login directory; unless the local copy is current
// or checkOnly is set, fetches the file into localFile, which then carries the server file's
// last-write time (also when the transfer was cancelled part-way).
void DownloadDatabase(ftpUpdateStruct* request);

// Sends localFile into the login directory under remotePath's last component. A cancel during
// the transfer removes the partial remote file.
void UploadDatabase(ftpUpdateStruct* request);

} // namespace pinsum
