#include "views/FileViewer.h"

namespace kov {

void OpenInViewer(CMainFrame&, const std::string&) {}

}  // namespace kov
