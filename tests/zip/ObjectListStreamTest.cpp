// Object lists saved to and loaded from a stream through the class registry.
#include "zip/ObjectListStream.h"

#include <gtest/gtest.h>

using namespace cb::zip;

namespace {

struct TShape {
    virtual ~TShape() = default;
    int Size = 0;
};
struct TCircle : TShape {
    std::string Label;
};
struct TSquare : TShape {};

class TSortedShapes : public TSortedObjectList<TShape> {
public:
    using TSortedObjectList<TShape>::TSortedObjectList;
    int Compare(const TShape* A, const TShape* B) const override { return A->Size - B->Size; }
};

}  // namespace

TEST(ObjectListStream, RoundTripAndErrors) {
    RegisterStreamable<TCircle, TShape>(
        "TCircle",
        [](TCircle& c, cb::rtl::TStream& s) {
            c.Size = s.ReadI32();
            c.Label = s.ReadString(s.ReadU8());
        },
        [](const TCircle& c, cb::rtl::TStream& s) {
            s.WriteI32(c.Size);
            s.WriteU8(static_cast<std::uint8_t>(c.Label.size()));
            s.WriteBuffer(c.Label);
        });
    TObjectList<TShape> list;
    for (int i = 0; i < 3; ++i) {
        auto* c = new TCircle;
        c->Size = 10 - i;
        c->Label = "c" + std::to_string(i);
        list.Add(c);
    }
    cb::rtl::TMemoryStream stream;
    SaveObjectList(list, stream);
    const std::string bytes(stream.View());
    EXPECT_EQ(bytes.substr(0, 5), std::string("\x01\x03\x00\x00\x00", 5));
    EXPECT_EQ(bytes.substr(5, 8), "\x07TCircle");

    stream.SetPosition(0);
    TSortedShapes sorted(true, TDuplicates::dupAccept);
    LoadObjectList(sorted, stream);
    ASSERT_EQ(sorted.Count(), 3);
    EXPECT_EQ(sorted[0]->Size, 8);
    EXPECT_EQ(dynamic_cast<TCircle*>(sorted[2])->Label, "c0");

    cb::rtl::TMemoryStream sortedStream;
    SaveSortedObjectList(sorted, sortedStream);
    EXPECT_EQ(sortedStream.View()[0], static_cast<char>(TDuplicates::dupAccept));

    // An object of an unregistered class, a missing object, an unknown name.
    TObjectList<TShape> other;
    other.Add(new TSquare);
    cb::rtl::TMemoryStream out;
    EXPECT_THROW(SaveObjectList(other, out), EClassNotFound);
    TObjectList<TShape> holes;
    holes.SetCount(1);
    EXPECT_THROW(SaveObjectList(holes, out), EClassNotFound);
    cb::rtl::TMemoryStream unknown;
    unknown.WriteU8(1);
    unknown.WriteU32(1);
    unknown.WriteU8(7);
    unknown.WriteBuffer(std::string_view("TSquare"));
    unknown.SetPosition(0);
    TObjectList<TShape> target;
    try {
        LoadObjectList(target, unknown);
        ADD_FAILURE();
    } catch (const EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class <TSquare> not registered");
    }
    UnregisterStreamableClass("TCircle");
}
