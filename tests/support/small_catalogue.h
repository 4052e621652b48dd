#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/cio_db.h"
#include "model/cio_line.h"
#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"

namespace pinsum::test {

// A small catalogue built in code, with handles to its parts.
struct SmallCatalogue {
    std::unique_ptr<CioDb> db;
    CioType* kindA = nullptr;    // ordinary
    CioType* kindB = nullptr;    // ordinary, required
    CioType* terminal = nullptr; // category 1
    CioModul* m1 = nullptr;      // variants v1 (A,A,A,B) and v2 (A x 8); price 100
    CioModul* m2 = nullptr;      // variant (B,B), rule against m1's v2; price 250.75
    CioLine* s1 = nullptr;       // default
    CioLine* s2 = nullptr;       // exclusive
    CioLine* s3 = nullptr;       // exclusive
    CioPlc* d1 = nullptr;        // controller in s1: positions [m1, m2] and [--]; both lines
    CioPlc* d2 = nullptr;        // peripheral in s2: position [m1]; KALBUS
    CioPlc* d3 = nullptr;        // controller in s3: position [m2]
};

SmallCatalogue BuildSmallCatalogue();

CioType* AddKind(CioDb& db, const std::string& name, int category = 0, bool required = false);
CioModul* AddModule(CioDb& db, const std::string& name, int64_t scaledPrice,
                    const std::vector<std::vector<CioType*>>& variants);
CioLine* AddSeries(CioDb& db, const std::string& name, uint32_t flags);
CioPlc* AddDevice(CioDb& db, const std::string& name, CioLine* series, int deviceType,
                  const std::vector<std::vector<CioType*>>& positions);

} // namespace pinsum::test
