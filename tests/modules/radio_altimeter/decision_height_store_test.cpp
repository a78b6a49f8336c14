// The decision-height settings file: its exact bytes, reading back, damaged and foreign
// files, and saves that fail part way.
#include "decision_height_store.h"
#include "radio_altimeter_support.h"

#include <gmock/gmock.h>

// The store works on the gauge's setting; these tests own it.
i32 decision_height = 0;

namespace {

const std::filesystem::path SETTINGS = "Aircraft/zeva_dh_val.gcf";
const Bytes KEY = {0x44, 0x48, 0x5F, 0x30, 0x30, 0x31};

Bytes with_key(Bytes value) {
    Bytes out = KEY;
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

class StoreTest : public ::testing::Test {
protected:
    FreshDirectory directory;

    void SetUp() override {
        decision_height = 0;
        std::filesystem::create_directory("Aircraft");
    }
    void TearDown() override {
        EXPECT_EQ(platform::open_objects().file_descriptors, 0u);
    }
};

struct StoredValue {
    i32 value;
    Bytes bytes_after_key;
};

class StoreVectorTest : public StoreTest, public ::testing::WithParamInterface<StoredValue> {};

TEST_P(StoreVectorTest, WritesTheExactBytesAndReadsThemBack) {
    decision_height = GetParam().value;
    save_decision_height();
    EXPECT_EQ(read_file(SETTINGS), with_key(GetParam().bytes_after_key));
    decision_height = 0x55555555;
    load_decision_height();
    EXPECT_EQ(decision_height, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Vectors, StoreVectorTest,
                         ::testing::Values(StoredValue{300, {0x2C, 0x01, 0x00, 0x00}},
                                           StoredValue{10, {0x0D, 0x0A, 0x00, 0x00, 0x00}},
                                           StoredValue{2570, {0x0D, 0x0A, 0x0D, 0x0A, 0x00, 0x00}},
                                           StoredValue{1050, {0x1A, 0x04, 0x00, 0x00}},
                                           StoredValue{-5, {0xFB, 0xFF, 0xFF, 0xFF}},
                                           // A lone 0x0D is a plain byte, even just before a translated line feed.
                                           StoredValue{13, {0x0D, 0x00, 0x00, 0x00}},
                                           StoredValue{0x0A0D, {0x0D, 0x0D, 0x0A, 0x00, 0x00}},
                                           StoredValue{0x0A0A0A0A, {0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A}}));

TEST_F(StoreTest, AShortValueReplacesOnlyTheLowOrderBytes) {
    write_file(SETTINGS, with_key({0x2C, 0x01}));
    load_decision_height();
    EXPECT_EQ(decision_height, 300);
    decision_height = 65540; // 04 00 01 00
    load_decision_height();
    EXPECT_EQ(decision_height, 65836); // 2C 01 01 00
}

TEST_F(StoreTest, BytesAfterTheValueAreIgnored) {
    write_file(SETTINGS, with_key({0x2C, 0x01, 0x00, 0x00, 0x0D, 0x0A, 0x99}));
    load_decision_height();
    EXPECT_EQ(decision_height, 300);
}

TEST_F(StoreTest, AForeignKeyInAnyCharacterLeavesTheSettingAlone) {
    for (std::size_t position = 0; position < KEY.size(); ++position) {
        Bytes file = with_key({0x2C, 0x01, 0x00, 0x00});
        file[position] ^= 0x20;
        write_file(SETTINGS, file);
        decision_height = 77;
        load_decision_height();
        EXPECT_EQ(decision_height, 77) << "key byte " << position;
    }
}

TEST_F(StoreTest, AFileShorterThanTheKeyOrMissingLeavesTheSettingAlone) {
    decision_height = 77;
    load_decision_height();
    EXPECT_EQ(decision_height, 77);
    write_file(SETTINGS, {0x44, 0x48, 0x5F, 0x30, 0x30});
    load_decision_height();
    EXPECT_EQ(decision_height, 77);
}

TEST_F(StoreTest, FindsFolderAndFileInAnyCase) {
    std::filesystem::remove("Aircraft");
    write_file("AIRCRAFT/Zeva_DH_Val.GCF", with_key({0x2C, 0x01, 0x00, 0x00}));
    load_decision_height();
    EXPECT_EQ(decision_height, 300);
    decision_height = 10;
    save_decision_height();
    // The existing file is replaced, not joined by a second one.
    EXPECT_EQ(read_file("AIRCRAFT/Zeva_DH_Val.GCF"), with_key({0x0D, 0x0A, 0x00, 0x00, 0x00}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("AIRCRAFT"), std::filesystem::directory_iterator()), 1);
}

TEST_F(StoreTest, WithoutTheAircraftFolderNothingIsSavedAndNoFolderMade) {
    std::filesystem::remove("Aircraft");
    decision_height = 300;
    save_decision_height();
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

struct FailingSaveStep {
    const char* call;
    unsigned occurrence;
};

class FailingSaveTest : public StoreTest, public ::testing::WithParamInterface<FailingSaveStep> {};

TEST_P(FailingSaveTest, KeepsTheEarlierSettingWholeAndLeavesNoStrayFile) {
    const Bytes earlier = with_key({0x2C, 0x01, 0x00, 0x00});
    write_file(SETTINGS, earlier);
    decision_height = 2570;
    platform::fail_call(GetParam().call, GetParam().occurrence);
    save_decision_height();
    EXPECT_EQ(read_file(SETTINGS), earlier);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Aircraft"), std::filesystem::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingSaveTest,
                         ::testing::Values(FailingSaveStep{"_sopen", 1}, FailingSaveStep{"_write", 1},
                                           FailingSaveStep{"_write", 2}, FailingSaveStep{"_close", 1},
                                           FailingSaveStep{"MoveFileExA", 1}),
                         [](const auto& info) { return std::string(info.param.call + (info.param.call[0] == '_')) +
                                                       std::to_string(info.param.occurrence); });

TEST_F(StoreTest, AFailedReadLeavesTheSettingAlone) {
    write_file(SETTINGS, with_key({0x2C, 0x01, 0x00, 0x00}));
    decision_height = 77;
    platform::fail_call("_read");
    load_decision_height();
    EXPECT_EQ(decision_height, 77);
}

} // namespace
