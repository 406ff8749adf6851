// The books' invariants between the run, the balances, the journal and the apportionment.
#include "BooksInvariant.hpp"

namespace tk::test {

std::string RunsOutOfStep(int32_t organization) {
    const std::string org = std::to_string(organization);
    auto differs = [&](const std::string& total) {
        return "Abs(d.dblDepreciation - Coalesce((" + total + "), 0)) > 0.005";
    };
    return "Select Count(*) From AMAssetDepreciation d Where d.lngOrganizationID = " + org +
           " And (" +
           differs(
               "Select Sum(b.dblDepreciation) From AMAssetFundBalance b Where "
               "b.lngOrganizationID = d.lngOrganizationID And b.intYear = d.intYear And "
               "b.bytPeriod = d.bytPeriod") +
           " Or " +
           differs(
               "Select Sum(f.dblDeprection) From AMAssetFundDaily f Where "
               "f.lngOrganizationID = d.lngOrganizationID And f.YearPeriod = d.intYear * "
               "100 + d.bytPeriod") +
           " Or " +
           differs(
               "Select Sum(a.dblAmount) From AMAssetFundBalanceAmortise a Where "
               "a.bytDirection = 1 And a.lngOrganizationID = d.lngOrganizationID And "
               "a.intYear = d.intYear And a.bytPeriod = d.bytPeriod") +
           ")";
}

}  // namespace tk::test
