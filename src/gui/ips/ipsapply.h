#pragma once
// Applying an IPS patch from the editor: the choices of TFormIpsOpen, then the
// patch on a base file or the open document, and the result saved, opened or both.
#include <QString>

namespace qv {

class IpsHost;

// Tools > Open IPS File: the Open dialog at the last patch chosen in this run (or
// "*.ips" beside the document, or in the program's folder), then ApplyIpsFile.
// `lastIpsPath` is the run's memory of that patch.
void openIpsFile(IpsHost& host, QString& lastIpsPath);

// The one operation behind the menu, dropped files and the command line
// (`startup`). Returns whether a result was saved or opened; every refusal has
// been reported and has changed no document and no file.
bool ApplyIpsFile(IpsHost& host, const QString& path, bool startup);

} // namespace qv
