// pinsum_bench: the Google Benchmark suite, plus
//   --peak-memory [FILE]     loads FILE (default: the generated 10 MB catalogue) once and prints
//                            the memory the load took, next to the file size
//   --write-catalogue FILE   writes the generated 10 MB catalogue
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <string>
#include <string_view>

#include "heap_counter.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "support/catalogue_generator.h"

namespace pinsum::bench {
namespace {

using namespace pinsum::test;

// A field of /proc/self/status in kB, or -1.
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::stol(line.substr(length + 1));
    return -1;
}

// Lets VmHWM start again from the current resident size.
bool ResetPeakRss() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

bool ReadFile(const char* path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

int PeakMemory(const char* path) {
    std::vector<uint8_t> bytes;
    if (path == nullptr)
        bytes = GenerateCatalogueFile(TenMegabyteShape());
    else if (!ReadFile(path, bytes)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 2;
    }
    // Hand what generating the catalogue freed back to the system, so the load cannot hide in it.
    malloc_trim(0);
    const long baseKb = StatusKb("VmRSS");
    const bool rssValid = ResetPeakRss();

    StartHeapCount();
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<CioDb> db = LoadCatalogue(bytes);
    const auto end = std::chrono::steady_clock::now();
    StopHeapCount();
    const long peakKb = StatusKb("VmHWM");

    const double fileMb = static_cast<double>(bytes.size()) / 1e6;
    const double heapMb = static_cast<double>(PeakHeapBytes()) / 1e6;
    const double seconds = std::chrono::duration<double>(end - start).count();
    std::printf("file                 %10.2f MB\n", fileMb);
    std::printf("load time            %10.1f ms (%.0f MB/s)\n", seconds * 1e3, fileMb / seconds);
    std::printf("heap peak of load    %10.2f MB = %.2f x file (%zu allocations)\n", heapMb,
                heapMb / fileMb, HeapAllocations());
    if (rssValid && baseKb >= 0 && peakKb >= 0) {
        const double rssMb = static_cast<double>(peakKb - baseKb) * 1024 / 1e6;
        std::printf("resident peak of load%10.2f MB = %.2f x file\n", rssMb, rssMb / fileMb);
        std::printf("with the file buffer %10.2f MB = %.2f x file\n", rssMb + fileMb,
                    rssMb / fileMb + 1);
    } else {
        std::printf("resident peak        not measurable (/proc/self/clear_refs)\n");
    }
    return db != nullptr ? 0 : 1;
}

int WriteCatalogue(const char* path) {
    const std::vector<uint8_t>& bytes = TenMegabyteFile();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 2;
}

} // namespace
} // namespace pinsum::bench

int main(int argc, char** argv) {
    using namespace pinsum::bench;
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "--peak-memory")
        return PeakMemory(argc > 2 ? argv[2] : nullptr);
    if (mode == "--write-catalogue" && argc > 2)
        return WriteCatalogue(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
