// The older module's cards and alterations replayed as assets and versions of the new schema.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "frame/DataAccess.hpp"
#include "frame/PublicDef.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "funds/clsAMAssetFundCostAlter.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::am {

class clsAMAssetUpdate;

// Replays every card of the older module ([OldUser]FixedCard and its
// FixedAlter rows, in card, year, period and id order) through the card,
// funding-source and line objects of [NewUser]: the first alteration of a
// card adds the asset, each later one adds a version after it. A period's
// depreciation (alteration type 4) is no alteration of the asset: it becomes
// that period's balance later. Which old alteration became which version is
// kept in [NewUser]FixAlterID_Temp. The objects of many cards are written
// together, a few statements per table, as saving them one by one would
// leave the tables; the alterations' lines are read once for all cards.
class FixedCardReplay {
  public:
    explicit FixedCardReplay(clsAMAssetUpdate& update) : update_(update) {}
    // Throws a run-time error when a card, source or line cannot be saved.
    void Run();

  private:
    // What a version's funding source and lines take from its old alteration.
    struct Source {
        int32_t oldAlter, oldCard, relativeAccount;
        std::vector<int32_t> accounts;  // as kCardAccounts names them
    };
    struct CostLine {
        int32_t currency;
        double rate, currAmount, amount;
    };
    struct AccountLine {
        int32_t account, department;
        std::string flexibleID;
        double rate;
        int16_t increase;
    };
    void LoadTemplates();
    void LoadLines();
    void ReplayRow(const RecordsetPtr& rs);
    void FillCard(const RecordsetPtr& rs, bool first);
    void FillChanges(const RecordsetPtr& rs);
    void WriteBatch();
    void WriteCards();
    std::vector<clsAMAssetFund> WriteFunds();
    void WriteLines(const std::vector<clsAMAssetFund>& funds);
    // The old alteration's lines of the batch's `version`-th version.
    void AddCostLines(size_t version, int32_t fundVersion,
                      std::vector<clsAMAssetFundCostAlter>& lines);
    void AddAccountLines(size_t version, int32_t fundVersion,
                         std::vector<clsAMAssetFundAccAlter>& lines);
    void Remember(const std::vector<clsAMAssetFund>& funds);

    clsAMAssetUpdate& update_;
    std::map<int32_t, int32_t> templates_;  // by system template id
    clsAMAssetCard card_;
    int32_t currentCard_ = 0;
    size_t batchCards_ = 0;
    std::vector<clsAMAssetCard> versions_;        // of the cards not yet written
    std::vector<Source> sources_;                 // of each of versions_
    std::map<int32_t, int32_t> mainDepartments_;  // by old alteration
    std::map<int32_t, std::vector<CostLine>> costLines_;
    std::map<int32_t, std::vector<AccountLine>> accountLines_;
};

}  // namespace tk::am
