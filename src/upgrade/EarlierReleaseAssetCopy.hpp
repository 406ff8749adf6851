// An earlier release's asset tables reshaped into the current ones during an upgrade.
#pragma once
#include <functional>
#include <string>

namespace tk::am {

// The asset data of an earlier release, reshaped into the current tables:
// heads take their descriptive values from the first version, funding-source
// versions find their card version by period and date, the unversioned other
// card gets one version per card version, labels one version per label and
// card version.
class EarlierReleaseAssetCopy {
  public:
    using Announce = std::function<void(const std::string& tables)>;
    explicit EarlierReleaseAssetCopy(Announce announce) : announce_(std::move(announce)) {}

    // False at the first statement that fails, with its error in errorText.
    bool Run(std::string& errorText);

  private:
    bool Statement(const std::string& sql, std::string& errorText);
    bool CopyCards(std::string& errorText);
    bool CopyFunds(std::string& errorText);
    bool CopyOtherCards(std::string& errorText);
    bool CopyLabels(std::string& errorText);
    bool CopyUnchanged(const std::string& tables, std::string& errorText);

    Announce announce_;
};

}  // namespace tk::am
