#include "readers/DataFile.h"

#include "readers/Workbench.h"

namespace kov {

int DataFile::CheckFile(std::FILE*) {
    return 0;
}

bool DataFile::Load(Workbench& workbench) {
    const std::optional<kov::LoadChoice> choice = workbench.host().ChooseQuantities(*this);
    if (!choice) return false;
    return LoadChoice(workbench.stack(), workbench.ui(), *choice);
}

int DataFile::LoadByNames(Workbench&, const std::string&) {
    return 0;
}

int DataFile::RefreshItems(Stack&, Ui&, std::set<const StackObject*>&) {
    return 0;
}

}  // namespace kov
