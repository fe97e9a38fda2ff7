#pragma once
// The file viewer: a text file shown read-only in a document window.

#include <string>

namespace kov {

class CMainFrame;

// Opens the path in a new viewer window titled "File Viewer:" and the path.
void OpenInViewer(CMainFrame& frame, const std::string& path);

}  // namespace kov
