#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "frame/PublicDef.hpp"
#include "frame/Utility.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::am {

class clsAMAssetUpdate;

// Replays every card of the older module ([OldUser]FixedCard and its
// FixedAlter rows, in card, year, period and id order) through the card,
// funding-source and line objects of [NewUser]: the first alteration of a
// card adds the asset, each later one adds a version after it. A period's
// depreciation (alteration type 4) is no alteration of the asset: it becomes
// that period's balance later, so it is only remembered. Which old
// alteration became which version is kept in [NewUser]FixAlterID_Temp.
class FixedCardReplay {
  public:
    explicit FixedCardReplay(clsAMAssetUpdate& update) : update_(update) {}
    // Throws a run-time error when a card, source or line cannot be saved.
    void Run();

  private:
    struct Saved {
        int32_t asset = 0, version = 0, fundVersion = 0;
    };
    void LoadTemplates();
    void ReplayRow(const RecordsetPtr& rs);
    void FillCard(const RecordsetPtr& rs, bool first);
    void FillChanges(const RecordsetPtr& rs);
    int32_t SaveFund(const RecordsetPtr& rs, bool first);
    static int32_t MainDepartment(int32_t oldAlter);
    void SaveCostLines(int32_t oldAlter, int32_t relativeAccount, int32_t fundVersion);
    void SaveAccountLines(int32_t oldAlter, int32_t fundVersion);
    void Remember(const RecordsetPtr& rs);

    clsAMAssetUpdate& update_;
    std::map<int32_t, int32_t> templates_;  // by system template id
    clsAMAssetCard card_;
    int32_t currentCard_ = 0;
    Saved saved_;
};

}  // namespace tk::am
