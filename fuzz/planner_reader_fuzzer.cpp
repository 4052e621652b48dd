// The planner file reader on arbitrary bytes, then storing the project, copying it as the
// calculator document does, and reading the stored bytes again. A project it has read must store
// bytes that read back and store the same bytes again.
#include "model/catalogue_file.h"
#include "model/cio_project.h"
#include "reader_fuzzing.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CioProject> project;
    if (!fuzz::ReadFile(data, size, LoadPlannerFile, project))
        return 0;
    // Storing renews the identities, so the counter starts again before each store compared.
    fuzz::RestartIdentities();
    ArchiveWriter stored;
    StorePlannerFile(stored, project.get());
    if (project != nullptr) {
        std::unique_ptr<CioProject> reread;
        if (!fuzz::ReadFile(stored.Bytes().data(), stored.Bytes().size(), LoadPlannerFile,
                            reread) ||
            reread == nullptr)
            fuzz::Abort("a stored project does not read back");
        fuzz::RestartIdentities();
        ArchiveWriter restored;
        StorePlannerFile(restored, reread.get());
        if (restored.Bytes() != stored.Bytes())
            fuzz::Abort("a stored project read back stores other bytes");
    }

    // The copy must not keep a pointer into its source, which is gone before the copy is stored.
    if (project != nullptr) {
        auto copy = std::make_unique<CioProject>();
        copy->CopyFrom(project.get());
        project.reset();
        ArchiveWriter copied;
        StorePlannerFile(copied, copy.get());
    }
    return 0;
}
