#include "RecordsTestSupport.hpp"
#include "frame/ClassRegistry.hpp"

namespace tk::am {
namespace {

using LateBindingTest = test::RecordsTest;
using Args = Dispatchable::Args;

std::shared_ptr<Dispatchable> create(const std::string& name) {
    auto object = ClassRegistry::instance().create("TkAMAssetInt." + name);
    EXPECT_TRUE(object) << name;
    return object;
}

void put(Dispatchable& object, const std::string& name, const Variant& value) {
    Args none;
    object.assign(name, none, value);
}

Variant get(Dispatchable& object, const std::string& name) {
    Args none;
    return object.invoke(name, none);
}

Variant call(Dispatchable& object, const std::string& name, Args args = {}) {
    return object.invoke(name, args);
}

TEST_F(LateBindingTest, OtherCardSavesAndLoadsByName) {
    addCard(1, {11});
    auto card = create("clsAMAssetOtherCard");
    put(*card, "lngAMAssetID", 1);
    put(*card, "lngAMAssetAlterID", 11);
    put(*card, "strOwner", "Wu's office");
    put(*card, "blnIsLend", int16_t{1});
    put(*card, "strFlexibleID", "");
    EXPECT_EQ(get(*card, "strOwner").toText(), "Wu''s office");
    int32_t version = call(*card, "SaveCard").toInt32();
    ASSERT_GT(version, 0);

    auto loaded = create("clsAMAssetOtherCard");
    put(*loaded, "Mode", int32_t{atAdd});
    call(*loaded, "LoadID", {Variant(1)});
    EXPECT_EQ(get(*loaded, "lngAMAssetOtherAlterID").toInt32(), version);
    EXPECT_EQ(get(*loaded, "strOwner").toText(), "Wu's office");
    EXPECT_EQ(get(*loaded, "blnIsLend").toInt32(), 1);
    EXPECT_EQ(get(*loaded, "Mode").toInt32(), atAdd);
}

TEST_F(LateBindingTest, LabelSavesAndLoadsByName) {
    addCard(1, {11});
    auto label = create("clsAMAssetLabel");
    put(*label, "lngAMAssetID", 1);
    put(*label, "strAMAssetLabelNo", "L-7");
    put(*label, "dblAmount3", 12.25);
    int32_t version = call(*label, "SaveCard").toInt32();
    ASSERT_GT(version, 0);

    auto loaded = create("clsAMAssetLabel");
    call(*loaded, "LoadID", {Variant(1), Variant(version)});
    EXPECT_EQ(get(*loaded, "strAMAssetLabelNo").toText(), "L-7");
    EXPECT_EQ(get(*loaded, "dblAmount3").toDouble(), 12.25);
}

TEST_F(LateBindingTest, CustomValuesAndAuxiliaryPiecesSaveAndLoadByName) {
    auto custom = create("clsAMAssetCustom");
    put(*custom, "lngAMAssetID", 3);
    put(*custom, "strCustom7", "seven");
    EXPECT_EQ(call(*custom, "SaveCard").toInt32(), 3);
    call(*custom, "LoadID", {Variant(3)});
    EXPECT_EQ(get(*custom, "strCustom7").toText(), "seven");

    auto aux = create("clsAMAssetAux");
    put(*aux, "lngAMAssetID", 3);
    put(*aux, "strAMAssetAuxCode", "A-1");
    int32_t piece = call(*aux, "SaveCard").toInt32();
    ASSERT_GT(piece, 0);
    auto loaded = create("clsAMAssetAux");
    call(*loaded, "LoadID", {Variant(3), Variant(piece)});
    EXPECT_EQ(get(*loaded, "strAMAssetAuxCode").toText(), "A-1");
}

}  // namespace
}  // namespace tk::am
