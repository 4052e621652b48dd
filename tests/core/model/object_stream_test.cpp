#include <gtest/gtest.h>

#include "host/program_texts.h"
#include "host/status_sink.h"
#include "model/archive.h"
#include "model/cio_array.h"
#include "model/cio_modul.h"
#include "model/cio_node.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "support/recorders.h"

namespace pinsum {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes U32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(const std::string& s) {
    // One allocation of the final size: growing a one-byte vector trips GCC 12's -Warray-bounds
    // at -O3.
    Bytes out(s.size() + 1);
    out[0] = static_cast<uint8_t>(s.size());
    std::copy(s.begin(), s.end(), out.begin() + 1);
    return out;
}

TEST(ArchiveText, LengthPrefixesSwitchAt255AndFFFE) {
    struct Case {
        size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        ArchiveWriter w;
        const std::string text(c.length, 'x');
        w.WriteText(text);
        const Bytes& b = w.Bytes();
        ASSERT_EQ(b.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<long>(c.prefix.size())), c.prefix)
            << c.length;
        ArchiveReader r(b);
        EXPECT_EQ(r.ReadText(), text);
        EXPECT_EQ(r.Remaining(), 0u);
    }
}

TEST(ArchiveText, WideFormIsConvertedToWindows1250) {
    // FF FFFE marks UTF-16: "Řa" is U+0158 U+0061.
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 0x02, 0x58, 0x01, 0x61, 0x00};
    ArchiveReader r(bytes);
    EXPECT_EQ(r.ReadText(), "\xD8"
                            "a");
}

TEST(ArchiveText, LengthPastTheEndIsEndOfFile) {
    const Bytes truncated[] = {{0x05, 'a', 'b'}, {0xFF, 0x00}, {0xFF, 0xFE, 0xFF, 0x09, 0x41}};
    for (const auto& bytes : truncated) {
        ArchiveReader r(bytes, "x.pp");
        try {
            r.ReadText();
            FAIL() << "no error";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Cause(), ArchiveCause::EndOfFile);
            EXPECT_EQ(e.File(), "x.pp");
        }
    }
}

TEST(ArchiveCount, HugeOrNegativeCountsAreRejectedBeforeAllocating) {
    for (const int32_t count : {2000000000, -1}) {
        const Bytes bytes = Concat({U32(static_cast<uint32_t>(count)), Bytes(16, 0)});
        ArchiveReader r(bytes);
        EXPECT_THROW(r.ReadCount(4), ArchiveError) << count;
    }
}

TEST(ObjectStream, MissingObjectIsWrittenAsNullAndCannotBeRead) {
    ArchiveWriter w;
    WriteObject(w, nullptr);
    EXPECT_EQ(w.Bytes(), (Bytes{0x04, 'N', 'U', 'L', 'L'}));
    ArchiveReader r(w.Bytes());
    try {
        ReadObject(r);
        FAIL() << "no error";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Cause(), ArchiveCause::BadIndex);
    }
}

TEST(ObjectStream, FreshRootHeaderBytes) {
    CioType object;
    ArchiveWriter w;
    object.Store(w);
    EXPECT_EQ(w.Bytes(),
              Concat({U32(0), U32(object.id), Bytes{0x02, 'I', 'O', 0x00}, U32(0), U32(0)}));
}

TEST(ObjectStream, TagsWithoutClassAndUnknownTagsAreBadIndex) {
    const std::string longTag(100000, 'T');
    for (const std::string& tag :
         {std::string("C_IO_GROUP"), std::string("NULL"), std::string("C_SOMETHING"), longTag}) {
        const Bytes bytes = Concat({Text(tag), Bytes(40, 0)});
        ArchiveReader r(bytes);
        try {
            ReadObject(r);
            FAIL() << tag.substr(0, 20);
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Cause(), ArchiveCause::BadIndex) << tag.substr(0, 20);
            EXPECT_LT(std::string(e.what()).size(), 150u) << "the tag is quoted short";
        }
    }
}

TEST(ObjectStream, CreateObjectCoversTheKindTable) {
    for (int32_t code = -1; code <= 15; ++code) {
        auto object = CreateObject(code);
        if (code < 0 || code == C_IO_GROUP || code >= C_NULL) {
            EXPECT_EQ(object, nullptr) << code;
            continue;
        }
        ASSERT_NE(object, nullptr) << code;
        EXPECT_EQ(object->kind, code);
        EXPECT_EQ(ClassKind(*object), code);
        EXPECT_EQ(KindOfTag(KindTag(code)), code);
        EXPECT_GT(object->id, kEmptyVariantId);
    }
}

TEST(ObjectStream, ClassComesFromTagWhileKindFieldIsStored) {
    CioNode node;
    node.kind = 3;
    ArchiveWriter w;
    w.WriteText("C_IO_NODE");
    node.Store(w);
    ArchiveReader r(w.Bytes());
    auto object = ReadObject(r);
    EXPECT_NE(dynamic_cast<CioNode*>(object.get()), nullptr);
    EXPECT_EQ(object->kind, 3);
}

Bytes ListOfTwinKinds(int copies) {
    CioArray list;
    for (int i = 0; i < copies; ++i) {
        auto kind = std::make_unique<CioType>();
        kind->id = 77;
        kind->name = "K" + std::to_string(i);
        list.Append(std::move(kind));
    }
    ArchiveWriter w;
    WriteObject(w, &list);
    return w.TakeBytes();
}

TEST(ObjectStream, DuplicateIdentityAsksOncePerDuplicateAndCancelAbandons) {
    const Bytes bytes = ListOfTwinKinds(3);
    {
        test::RecordingMessenger messenger;
        ArchiveReader r(bytes);
        r.messenger = &messenger;
        auto list = ReadObject(r);
        ASSERT_EQ(messenger.shown.size(), 2u);
        EXPECT_NE(messenger.shown[0].find("K1"), std::string::npos);
        EXPECT_EQ(messenger.icons[0], MessageIcon::Question);
        EXPECT_EQ(r.identities.Find(77)->name, "K2");
    }
    {
        test::RecordingMessenger messenger;
        messenger.answers = {MessageAnswer::Cancel};
        ArchiveReader r(bytes);
        r.messenger = &messenger;
        EXPECT_THROW(ReadObject(r), ArchiveError);
    }
}

TEST(ObjectStream, NestingIsBounded) {
    // Lists inside lists, deeper than any real file: a clean error, not a stack overflow.
    Bytes bytes;
    for (int i = 0; i < 10000; ++i) {
        const Bytes level = Concat({Text("C_ARRAY_IO"), U32(1), U32(100 + i), Text("IO"), Text(""),
                                    U32(0), U32(0), U32(1)});
        bytes.insert(bytes.end(), level.begin(), level.end());
    }
    bytes.resize(bytes.size() + 16, 0);
    ArchiveReader r(bytes);
    EXPECT_THROW(ReadObject(r), ArchiveError);
}

TEST(ObjectStream, BuiltInsResolveToTheOneInstance) {
    const IdentityTable table;
    EXPECT_EQ(table.Find(kEmptyModuleId), &EmptyModule());
    EXPECT_EQ(table.Find(kEmptyVariantId), &EmptyVariant());
    EXPECT_EQ(table.Find(kVornetId)->name, "VORNET");
    EXPECT_EQ(table.Find(kKalbusId)->name, "KALBUS");
    EXPECT_EQ(table.Find(0), nullptr);
    EXPECT_EQ(EmptyModule().name, "--");
    EXPECT_EQ(EmptyVariant().id, kEmptyVariantId);
}

TEST(ObjectStream, ProgressReportsHundredthsThenTheEnd) {
    // 200 kinds in a list: the first object reports, later ones only after 1 % more of the file.
    CioArray list;
    for (int i = 0; i < 200; ++i)
        list.Append(std::make_unique<CioType>());
    ArchiveWriter w;
    WriteObject(w, &list);
    test::RecordingSink sink;
    ArchiveReader r(w.Bytes());
    r.progress = &sink;
    ReadObject(r);
    ASSERT_GT(sink.sent.size(), 3u);
    EXPECT_EQ(sink.sent.front().first, 0u);
    EXPECT_EQ(sink.sent.back().first, 0xFFFFFFFFu);
    uint32_t last = 0;
    for (const auto& s : sink.sent) {
        EXPECT_EQ(s.message, UPDBAR);
        EXPECT_EQ(s.second, 0);
        if (s.first != 0xFFFFFFFFu) {
            EXPECT_GE(s.first, last);
            last = s.first;
        }
    }
}

TEST(ObjectStream, HostStatusSinkReceivesProgressUnlessReplaced) {
    CioArray list;
    list.Append(std::make_unique<CioType>());
    ArchiveWriter w;
    WriteObject(w, &list);
    test::RecordingSink host;
    SetStatusSink(&host);
    ArchiveReader r(w.Bytes());
    ReadObject(r);
    SetStatusSink(nullptr);
    EXPECT_FALSE(host.sent.empty());
    ArchiveReader quiet(w.Bytes());
    ReadObject(quiet);
    EXPECT_EQ(quiet.progress, nullptr);
}

} // namespace
} // namespace pinsum
