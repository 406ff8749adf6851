// An asset's custom fields (one row, overwritten whole) and auxiliary
// equipment (pieces by sequence): saving, loading and deletion by negative id.
#include "RecordsTestSupport.hpp"
#include "records/clsAMAssetAux.hpp"
#include "records/clsAMAssetCustom.hpp"

namespace tk::am {
namespace {

using CustomTest = test::RecordsTest;
using AuxTest = test::RecordsTest;

TEST_F(CustomTest, SavingInsertsOnceThenOverwritesEveryColumn) {
    clsAMAssetCustom custom;
    custom.lngAMAssetID = 5;
    custom.strCustom1 = "Joe's";
    custom.strCustom13 = "last";
    custom.dblCustom5 = 2.5;
    custom.strCustomDate2 = "2024-12-31";
    EXPECT_EQ(custom.SaveCard(), 5);

    clsAMAssetCustom again;
    again.lngAMAssetID = 5;
    again.strCustom9 = "ninth";
    again.dblCustom1 = 7;
    EXPECT_EQ(again.SaveCard(), 5);
    EXPECT_EQ(countOf("[User]AMAssetCustom"), 1);

    clsAMAssetCustom loaded;
    loaded.LoadID(5);
    EXPECT_EQ(loaded.strCustom1.str(), " ");
    EXPECT_EQ(loaded.strCustom9.str(), "ninth");
    EXPECT_EQ(loaded.dblCustom1, 7);
    EXPECT_EQ(loaded.dblCustom5, 0);
    EXPECT_EQ(loaded.strCustomDate2.str(), " ");
}

TEST_F(CustomTest, ANegativeIdDeletesAndAnswersThePositiveId) {
    clsAMAssetCustom custom;
    custom.lngAMAssetID = 5;
    custom.SaveCard();
    custom.lngAMAssetID = -5;
    EXPECT_EQ(custom.SaveCard(), 5);
    EXPECT_EQ(countOf("[User]AMAssetCustom"), 0);
    custom.lngAMAssetID = 0;
    EXPECT_EQ(custom.SaveCard(), 0);

    custom.LoadID(5);
    EXPECT_EQ(custom.lngAMAssetID, 0);
    EXPECT_EQ(custom.strCustom4.str(), " ");
}

clsAMAssetAux pieceOf(int32_t assetID, const std::string& name) {
    clsAMAssetAux aux;
    aux.lngAMAssetID = assetID;
    aux.strAMAssetAuxName = name;
    aux.dblQuantity = 3;
    aux.strAddDate = "2024-03-01";
    return aux;
}

TEST_F(AuxTest, ANewPieceTakesItsIdFromTheSequence) {
    clsAMAssetAux aux = pieceOf(5, "printer");
    int32_t id = aux.SaveCard();
    EXPECT_GT(id, 0);
    EXPECT_EQ(aux.lngAMAssetAuxID, id);
    EXPECT_EQ(pieceOf(5, "screen").SaveCard(), id + 1);

    clsAMAssetAux loaded;
    loaded.LoadID(5, id);
    EXPECT_EQ(loaded.strAMAssetAuxName.str(), "printer");
    EXPECT_EQ(loaded.dblQuantity, 3);
    EXPECT_EQ(loaded.strAddDate.str(), "2024-03-01");
    EXPECT_EQ(loaded.strUnit.str(), " ");
}

TEST_F(AuxTest, AChangeOverwritesThePieceButNotItsAsset) {
    clsAMAssetAux aux = pieceOf(5, "printer");
    int32_t id = aux.SaveCard();
    aux.lngAMAssetID = 6;
    aux.strAMAssetAuxName = "O'Hara's printer";
    aux.lngSupplierID = 4;
    EXPECT_EQ(aux.SaveCard(), id);

    clsAMAssetAux loaded;
    loaded.LoadID(5, id);
    EXPECT_EQ(loaded.strAMAssetAuxName.str(), "O'Hara's printer");
    EXPECT_EQ(loaded.lngSupplierID, 4);
    loaded.LoadID(6, id);
    EXPECT_EQ(loaded.lngAMAssetAuxID, 0);
    EXPECT_EQ(loaded.strNotes.str(), " ");
}

TEST_F(AuxTest, DeletesOnePieceOrEveryPieceOfAnAsset) {
    clsAMAssetAux first = pieceOf(5, "a"), second = pieceOf(5, "b"), third = pieceOf(5, "c"),
                  other = pieceOf(6, "d");
    for (clsAMAssetAux* aux : {&first, &second, &third, &other}) aux->SaveCard();

    clsAMAssetAux remove;
    remove.lngAMAssetID = 5;
    remove.lngAMAssetAuxID = -first.lngAMAssetAuxID;
    EXPECT_EQ(remove.SaveCard(), 5);
    EXPECT_EQ(countOf("[User]AMAssetAux Where lngAMAssetID = 5"), 2);

    remove.lngAMAssetID = -5;
    remove.lngAMAssetAuxID = 0;
    EXPECT_EQ(remove.SaveCard(), 5);
    EXPECT_EQ(countOf("[User]AMAssetAux Where lngAMAssetID = 5"), 0);
    EXPECT_EQ(countOf("[User]AMAssetAux Where lngAMAssetID = 6"), 1);

    remove.lngAMAssetID = 0;
    EXPECT_EQ(remove.SaveCard(), 0);
}

}  // namespace
}  // namespace tk::am
