#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/ProgramInfo.h"
#include "portlist/PortListLoader.h"
#include "portlist/tavohwp.h"
#include "tests/support/PortMapFolder.h"

extern "C" int32_t CallGetComPortListFromC(TavoGetComPortListFn fn, char* first, size_t size);

namespace tavo {
namespace {

namespace fs = std::filesystem;

using ArrayPtr = std::unique_ptr<TavoStringArray, decltype(&TavoStringArrayDestroy)>;

ArrayPtr MakeArray(std::int32_t lowerBound, std::uint32_t count, const char* fill = nullptr) {
    ArrayPtr a(TavoStringArrayCreate(lowerBound, count), &TavoStringArrayDestroy);
    for (std::uint32_t i = 0; i < count; ++i)
        TavoStringArraySet(a.get(), lowerBound + static_cast<std::int32_t>(i), fill);
    return a;
}

std::vector<std::string> Elements(const TavoStringArray* a) {
    std::vector<std::string> out;
    for (std::int64_t i = a->lowerBound; i <= TavoStringArrayUpperBound(a); ++i)
        out.emplace_back(TavoStringArrayAt(a, i));
    return out;
}

// A port-map folder of its own in a temporary directory, named by $TAVO_PORTS.
class PortListLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        handle_ = ::dlopen(InProgramFolder("libtavohwp.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << ::dlerror();
        list_ = reinterpret_cast<TavoGetComPortListFn>(::dlsym(handle_, "GetComPortList"));
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override {
        if (handle_) ::dlclose(handle_);
    }
    void MapPort(const std::string& name, const std::string& target) {
        fs::create_symlink(target, fs::path(folder_) / name);
    }
    std::int32_t List(TavoStringArray* a) { return list_(&a); }

    test::PortMapFolder ports_;
    const std::string folder_ = ports_.Path();
    void* handle_ = nullptr;
    TavoGetComPortListFn list_ = nullptr;
};

TEST_F(PortListLibrary, OneElementArrayGrowsToThePortsInNumberOrder) {
    MapPort("COM10", "/dev/null");
    MapPort("COM3", "/dev/ttyS2");
    MapPort("COM1", "/nowhere/at/all");  // a link to nothing is still a configured port
    MapPort("README", "/dev/null");
    ArrayPtr a = MakeArray(0, 1);
    EXPECT_EQ(List(a.get()), 3);
    EXPECT_EQ(a->lowerBound, 0);
    EXPECT_EQ(Elements(a.get()), (std::vector<std::string>{"COM1", "COM3", "COM10"}));

    // The lower bound is kept when the array grows.
    ArrayPtr b = MakeArray(5, 1);
    EXPECT_EQ(List(b.get()), 3);
    EXPECT_EQ(b->lowerBound, 5);
    EXPECT_EQ(TavoStringArrayUpperBound(b.get()), 7);
    EXPECT_STREQ(TavoStringArrayAt(b.get(), 5), "COM1");
    EXPECT_STREQ(TavoStringArrayAt(b.get(), 7), "COM10");
}

TEST_F(PortListLibrary, LargerArrayKeepsItsSizeAndBlanksTheTail) {
    MapPort("COM2", "/dev/null");
    MapPort("COM4", "/dev/null");
    ArrayPtr a = MakeArray(0, 5, "earlier");
    EXPECT_EQ(List(a.get()), 2);
    EXPECT_EQ(a->count, 5u);
    EXPECT_EQ(Elements(a.get()), (std::vector<std::string>{"COM2", "COM4", "", "", ""}));
}

TEST_F(PortListLibrary, NoPortsLeavesTheArrayAsItWas) {
    ArrayPtr a = MakeArray(0, 1, "kept");
    char** before = a->elements;
    EXPECT_EQ(List(a.get()), 0);
    EXPECT_EQ(a->count, 1u);
    EXPECT_EQ(a->elements, before);
    EXPECT_STREQ(TavoStringArrayAt(a.get(), 0), "kept");

    // An array declared without element type is accepted too.
    a->elementType = TAVO_ELEMENT_UNSET;
    MapPort("COM7", "/dev/null");
    EXPECT_EQ(List(a.get()), 1);
    EXPECT_STREQ(TavoStringArrayAt(a.get(), 0), "COM7");
}

TEST_F(PortListLibrary, BadArgumentsAreRefusedAndNothingIsTouched) {
    MapPort("COM1", "/dev/null");
    EXPECT_EQ(list_(nullptr), TAVO_PORTLIST_BAD_ARGUMENT);
    TavoStringArray* none = nullptr;
    EXPECT_EQ(list_(&none), TAVO_PORTLIST_BAD_ARGUMENT);

    ArrayPtr a = MakeArray(0, 1, "kept");
    a->dimensions = 2;
    EXPECT_EQ(List(a.get()), TAVO_PORTLIST_BAD_ARGUMENT);
    a->dimensions = 0;
    EXPECT_EQ(List(a.get()), TAVO_PORTLIST_BAD_ARGUMENT);
    a->dimensions = 1;
    a->elementType = 3;  // a number array
    EXPECT_EQ(List(a.get()), TAVO_PORTLIST_BAD_ARGUMENT);
    EXPECT_STREQ(TavoStringArrayAt(a.get(), 0), "kept");

    TavoStringArray lying{1, TAVO_ELEMENT_STRING, 0, 4, nullptr};  // elements claimed, none there
    EXPECT_EQ(List(&lying), TAVO_PORTLIST_BAD_ARGUMENT);
}

TEST_F(PortListLibrary, TooLongTargetFailsAfterWritingTheEarlierPorts) {
    MapPort("COM1", "/dev/null");
    MapPort("COM2", "/" + std::string(259, 'x'));  // 260 bytes: no room for the terminating zero
    ArrayPtr a = MakeArray(0, 3, "earlier");
    EXPECT_EQ(List(a.get()), TAVO_PORTLIST_ENTRY_UNREADABLE);
    EXPECT_EQ(Elements(a.get()), (std::vector<std::string>{"COM1", "earlier", "earlier"}));

    fs::remove(fs::path(folder_) / "COM2");
    MapPort("COM2", "/" + std::string(258, 'x'));  // 259 bytes still fit
    EXPECT_EQ(List(a.get()), 2);
}

TEST_F(PortListLibrary, UnreadableMapFolderIsReported) {
    ArrayPtr a = MakeArray(0, 1, "kept");
    ::setenv("TAVO_PORTS", (folder_ + "/missing").c_str(), 1);
    EXPECT_EQ(List(a.get()), TAVO_PORTLIST_SOURCE_UNREADABLE);
    std::string file = folder_ + "/plain-file";
    std::ofstream(file).put('x');
    ::setenv("TAVO_PORTS", file.c_str(), 1);
    EXPECT_EQ(List(a.get()), TAVO_PORTLIST_SOURCE_UNREADABLE);
    EXPECT_STREQ(TavoStringArrayAt(a.get(), 0), "kept");
}

TEST_F(PortListLibrary, CallableFromC) {
    MapPort("COM5", "/dev/null");
    char first[16] = "x";
    EXPECT_EQ(CallGetComPortListFromC(list_, first, sizeof first), 1);
    EXPECT_STREQ(first, "COM5");
}

TEST_F(PortListLibrary, LoaderBindsAtTheFirstCallAndGivesTheSlots) {
    MapPort("COM2", "/dev/null");
    MapPort("COM9", "/dev/null");
    std::vector<std::string> slots{"stale"};
    EXPECT_EQ(PortListLoader::ProgramLibrary().GetComPortSlots(slots), 2);
    EXPECT_EQ(slots, (std::vector<std::string>{"COM2", "COM9"}));

    fs::remove(fs::path(folder_) / "COM2");
    fs::remove(fs::path(folder_) / "COM9");
    EXPECT_EQ(PortListLoader::ProgramLibrary().GetComPortSlots(slots), 0);
    EXPECT_EQ(slots, (std::vector<std::string>{""}));  // the one empty slot it started with
}

TEST_F(PortListLibrary, MissingLibraryOrEntryPointIsANegativeResult) {
    MapPort("COM1", "/dev/null");
    std::vector<std::string> slots;
    PortListLoader missing(folder_ + "/libtavohwp.so");
    EXPECT_EQ(missing.GetComPortSlots(slots), kPortListNotLoaded);
    EXPECT_FALSE(missing.LoadError().empty());
    EXPECT_TRUE(slots.empty());

    PortListLoader withoutEntry("libm.so.6");
    EXPECT_EQ(withoutEntry.GetComPortSlots(slots), kPortListNotLoaded);
    EXPECT_NE(withoutEntry.LoadError().find("GetComPortList"), std::string::npos);
}

}  // namespace
}  // namespace tavo
