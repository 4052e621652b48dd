// The planner file reader on arbitrary bytes, then storing the project, copying it as the
// calculator document does, and reading the stored bytes again.
#include "model/catalogue_file.h"
#include "model/cio_project.h"
#include "reader_fuzzing.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CioProject> project;
    if (!fuzz::ReadFile(data, size, LoadPlannerFile, project))
        return 0;
    ArchiveWriter stored;
    StorePlannerFile(stored, project.get());

    // The copy must not keep a pointer into its source, which is gone before the copy is stored.
    if (project != nullptr) {
        auto copy = std::make_unique<CioProject>();
        copy->CopyFrom(project.get());
        project.reset();
        ArchiveWriter copied;
        StorePlannerFile(copied, copy.get());
    }

    std::unique_ptr<CioProject> again;
    fuzz::ReadFile(stored.Bytes().data(), stored.Bytes().size(), LoadPlannerFile, again);
    return 0;
}
