#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lbase/lbase.h"

namespace {

std::string Str(const VStringList& l) {
    std::ostringstream os;
    os << l;
    return os.str();
}

TEST(VStringList, PrintAndSplice) {
    VStringList a;
    EXPECT_EQ(Str(a), "CL{  }CL");
    a.Append("a");
    EXPECT_EQ(Str(a), "CL{ a }CL");
    VStringList xy;
    xy.Append("x");
    xy.Append("y");
    a.SpliceFront(xy);
    EXPECT_EQ(Str(a), "CL{ x, y, a }CL");
    EXPECT_EQ(xy.Count(), 0);
    VStringList empty;
    empty.Splice(a);
    EXPECT_EQ(Str(empty), "CL{ x, y, a }CL");
    EXPECT_EQ(a.Count(), 0);
    empty.Prepend("");
    empty.InsertAfter(empty.head, "w");
    EXPECT_EQ(Str(empty), "CL{ , w, x, y, a }CL");
    VStringList copy(empty);
    copy = copy;
    EXPECT_EQ(Str(copy), Str(empty));
}

TEST(VStringArray, CopyKeepsCapacity) {
    VStringArray a(12);
    a.items[a.count++] = "one";
    VStringArray b(a);
    EXPECT_EQ(b.capacity, 12);
    EXPECT_EQ(b.count, 1);
    EXPECT_TRUE(b.items[0] == "one");
    for (int i = 1; i < 12; ++i) EXPECT_EQ(b.items[i].Len(), 0);
    VStringArray c(3);
    c = b;
    c = c;
    EXPECT_EQ(c.capacity, 12);
    EXPECT_TRUE(c.items[0] == "one");
}

TEST(DovNameTable, SortedAndUnsorted) {
    DovNameTable t(2);
    EXPECT_EQ(t.FindOrAdd("b", true, true), 0);
    EXPECT_EQ(t.FindOrAdd("d", true, true), 1);
    EXPECT_EQ(t.FindOrAdd("c", true, true), 1);
    EXPECT_EQ(t.FindOrAdd("a", true, true), 0);
    const char* order[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(t.At(i).name == order[i]);
    EXPECT_EQ(t.FindOrAdd("d", true, true), 3);
    EXPECT_EQ(t.At(3).count, 2);
    EXPECT_EQ(t.FindOrAdd("zz", true, false), -1);
    EXPECT_EQ(t.Count(), 4);
    EXPECT_EQ(t.At(4).count, 0);
    EXPECT_EQ(t.At(4).name.Len(), 0);
    EXPECT_EQ(t.At(-1).name.Len(), 0);

    DovNameTable u(100);
    for (int i = 0; i < 150; ++i) EXPECT_EQ(u.FindOrAdd(DovFormat("n%d", 149 - i), false, true), i);
    EXPECT_EQ(u.capacity, 200);
    EXPECT_TRUE(u.At(0).name == "n149");
    EXPECT_EQ(u.FindOrAdd("n0", false, true), 149);
    EXPECT_EQ(u.At(149).count, 2);
    // Inserting an entry of the table itself while it grows stays sound.
    DovNameTable v(1);
    v.FindOrAdd("self", false, true);
    v.Insert(v.At(0), 0);
    EXPECT_TRUE(v.At(0).name == "self");
    EXPECT_TRUE(v.At(1).name == "self");
}

}  // namespace
