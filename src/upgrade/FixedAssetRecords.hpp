// What the older module kept about the item behind each card, written into the new records.
#pragma once
#include <string>

namespace tk::am {

// The records that hang off each upgraded card, written from the older
// module's Asset, FixedAux, OLEStore and AssetDocument rows once the cards
// are replayed (FixAlterID_Temp maps old alterations to new versions). Each
// returns false with the step's message, label and reason in strErrMsg.
class FixedAssetRecords {
  public:
    // One other card per asset and one version of it per card version, with
    // the description of the item; its department follows the card.
    static bool WriteOtherCards(std::string& strErrMsg);
    // A label per asset that had a label number, one version per card
    // version, numbered 1.. within the asset.
    static bool WriteLabels(std::string& strErrMsg);
    // One row of custom values per asset, from the old columns of the same name.
    static bool WriteCustomValues(std::string& strErrMsg);
    static bool CopyAuxiliaryEquipment(std::string& strErrMsg);
    static bool CopyPictures(std::string& strErrMsg);
    static bool CopyDocuments(std::string& strErrMsg);

  private:
    static bool OtherCards(std::string& strErrMsg);
    static bool Labels(std::string& strErrMsg);
};

}  // namespace tk::am
