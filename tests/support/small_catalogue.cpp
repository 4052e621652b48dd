#include "support/small_catalogue.h"

#include "model/object_stream.h"

namespace pinsum::test {

CioType* AddKind(CioDb& db, const std::string& name, int category, bool required) {
    auto kind = std::make_unique<CioType>();
    kind->name = name;
    kind->SetCategory(category);
    if (required)
        kind->flags |= FLAG_REQUIRED;
    CioType* raw = kind.get();
    db.ioKinds.Append(std::move(kind));
    return raw;
}

CioModul* AddModule(CioDb& db, const std::string& name, int64_t scaledPrice,
                    const std::vector<std::vector<CioType*>>& variants) {
    auto module = std::make_unique<CioModul>();
    module->name = name;
    module->marking = "-" + name;
    module->listPrice.scaled = scaledPrice;
    int index = 1;
    for (const auto& points : variants) {
        auto variant = std::make_unique<CioVariant>();
        variant->name = name + "/v" + std::to_string(index++);
        variant->entries = points;
        module->Append(std::move(variant));
    }
    CioModul* raw = module.get();
    db.modules.Append(std::move(module));
    return raw;
}

CioLine* AddSeries(CioDb& db, const std::string& name, uint32_t flags) {
    auto series = std::make_unique<CioLine>();
    series->name = name;
    series->flags = flags;
    CioLine* raw = series.get();
    db.seriesList.Append(std::move(series));
    return raw;
}

CioPlc* AddDevice(CioDb& db, const std::string& name, CioLine* series, int deviceType,
                  const std::vector<std::vector<CioType*>>& positions) {
    auto device = std::make_unique<CioPlc>();
    device->name = name;
    device->marking = name;
    device->series.object = series;
    device->deviceType = deviceType;
    device->listPrice.scaled = 1000 * 10000;
    for (const auto& allowed : positions) {
        auto position = std::make_unique<CioVariant>();
        position->entries = allowed;
        device->Append(std::move(position));
    }
    CioPlc* raw = device.get();
    db.devices.Append(std::move(device));
    return raw;
}

SmallCatalogue BuildSmallCatalogue() {
    SmallCatalogue c;
    c.db = std::make_unique<CioDb>();
    CioDb& db = *c.db;
    c.kindA = AddKind(db, "A");
    c.kindB = AddKind(db, "B", 0, true);
    c.terminal = AddKind(db, "T", 1);
    c.kindA->help = "help of A";
    auto* a = c.kindA;
    c.m1 = AddModule(db, "M1", 100 * 10000, {{a, a, a, c.kindB}, {a, a, a, a, a, a, a, a}});
    c.m2 = AddModule(db, "M2", 2507500, {{c.kindB, c.kindB}});
    c.m2->Variant(0)->rules.entries.push_back(c.m1->Variant(1));
    c.s1 = AddSeries(db, "S1", FLAG_DEFAULT);
    c.s2 = AddSeries(db, "S2", FLAG_EXCLUSIVE);
    c.s3 = AddSeries(db, "S3", FLAG_EXCLUSIVE);
    c.d1 = AddDevice(db, "D1", c.s1, 0, {{c.m1, c.m2}, {&EmptyModule()}});
    c.d1->lines.entries = {&Vornet(), &Kalbus()};
    c.d2 = AddDevice(db, "D2", c.s2, 1, {{c.m1}});
    c.d2->lines.entries = {&Kalbus()};
    c.d3 = AddDevice(db, "D3", c.s3, 0, {{c.m2}});
    db.CountPoints();
    db.ComputeTotals();
    return c;
}

} // namespace pinsum::test
