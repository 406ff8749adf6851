#include <string>
#include <vector>

#include "TranslationCases.hpp"

namespace tk::connect {
namespace {

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool mentions(const std::string& sql, const std::string& word) {
    return lower(sql).find(lower(word)) != std::string::npos;
}

struct CorpusText {
    const char* what;
    std::string sql;
};

// The component's SQL texts with "[User]"/"[NewUser]" as zt2024. and
// "[OldUser]" as zt2023., line breaks as the component joins them.
std::vector<CorpusText> corpus() {
    const std::string crlf = "\r\n";
    const std::string orgView =
        " (Select fm.*,5 As lngOrganizationID From zt2024.AMAssetType fm Where Not Exists \n"
        " (Select 1 From zt2024.AMAssetTypeEx ex Where ex.lngAMAssetTypeID = fm.lngAMAssetTypeID "
        "And ex.lngOrganizationID = 5) \n Union Select * From zt2024.AMAssetTypeEx ex Where "
        "ex.lngOrganizationID = 5) AMAssetType";
    const std::string mapSide =
        "     (select col.name As column_name, col.intcol# As column_id" + crlf +
        "        from sys.user$ u, sys.obj$ o, sys.col$ col" + crlf +
        "       where u.user# = o.owner# and col.obj# = o.obj# and o.type# = 2 and u.name = ";
    return {
        {"ExecuteSql temporary tablespace",
         "select ts#+1 as tmp, name from sys.ts$ where name='ZT2024_TMP'"},
        {"ExecuteSql drop segments",
         "alter session set events 'immediate trace name DROP_SEGMENTS level 5'"},
        {"OrganizationView", "Select * From" + orgView},
        {"ResetSequence maximum",
         "Select Nvl(Max(t.lngAMAssetID)+1,0) As lngMaxValue From zt2024.AMAsset t"},
        {"ResetSequence current", "Select zt2024.AMAsset_Seq.currval As lngNowValue From dual"},
        {"ResetSequence drop", "Drop Sequence zt2024.AMAsset_SEQ"},
        {"ResetSequence create",
         " Create Sequence zt2024.AMAsset_SEQ MinValue 1 MaxValue 2147483647 Start With 17 "
         "Increment By 1 Cache 20 Cycle"},
        {"MapColumns",
         "select nvl(a.column_name,'{MAP}') As strSrcCol, b.column_name As strDstCol " + crlf +
             "from" + mapSide.substr(4) + "'ZT2023' and o.name = 'AMASSET') a," + crlf + mapSide +
             "'ZT2024' and o.name = 'AMASSET') b" + crlf +
             " where b.column_name = a.column_name(+)"},
        {"CopyTable plain",
         " Insert Into zt2024.AMAsset a Select * From zt2023.AMAsset a Where a.lngOrganizationID = "
         "5"},
        {"CopyTable column lists",
         " Insert Into zt2024.AMAsset a (lngAMAssetID,strAMAssetCode) Select "
         "lngAMAssetID,strAMAssetCode From zt2023.AMAsset a Where a.lngOrganizationID = 5"},
        {"CopyTable missing keys",
         " Insert Into zt2024.AMAssetType (lngAMAssetTypeID,strAMAssetTypeCode) Select "
         "lngAMAssetTypeID,strAMAssetTypeCode From zt2023.AMAssetType Where Not Exists(Select 1 "
         "From zt2024.AMAssetType Where zt2024.AMAssetType.lngAMAssetTypeID || '_' || "
         "zt2024.AMAssetType.strAMAssetTypeCode=zt2023.AMAssetType.lngAMAssetTypeID || '_' || "
         "zt2023.AMAssetType.strAMAssetTypeCode)"},
        {"CopyViewRows",
         "DECLARE\n  CURSOR cView1 IS\n  SELECT * from zt2023.view1;\n  vView1 cView1%rowtype;\n"
         "BEGIN\n  OPEN cView1;\n  Loop\n      fetch cView1 into vView1;\n      exit when  "
         "cView1%notfound;\n      insert into zt2024.view1\n      (Lngviewid,Strviewname)\n"
         "      Values\n      (vView1.Lngviewid,vView1.Strviewname\n      );\n  end loop;\n"
         "  close cView1;\n  commit;\n  \nEND;"},
        {"CopyRowsByCursor",
         "declare\ncursor csItem is\nselect * from zt2023.AMAssetDocument ad Where "
         "ad.lngAMAssetID In(SELECT a.lngAMAssetID FROM zt2023.AMAsset a WHERE "
         "a.lngOrganizationID = 5);\nvsItem csItem%rowtype;\nbegin\n     open csitem;\n     loop\n"
         "         fetch csItem into vsItem;\n         exit when csItem%notfound;\n         insert "
         "into zt2024.AMAssetDocument ad\n         (lngAMAssetDocumentID,lngAMAssetID)\n         "
         "values\n         (vsItem.lngAMAssetDocumentID,vsItem.lngAMAssetID);\n     end loop;\n"
         "     close csItem;\n     commit;\nend;"},
        {"TableExists",
         "select 1 from all_tables where upper(owner) = 'ZT2024' and upper(table_name) = "
         "'AMASSET'"},
        {"ColumnExists",
         "select 1 from all_tab_columns where upper(owner) = 'ZT2024' and upper(table_name) = "
         "'AMASSET' and upper(column_name) = 'STRCREATEDATE'"},
        {"TableReadable", "Select 1 From zt2024.AMAsset Where 1=0"},
        {"category LoadID",
         " Select AMAssetType.*,AssetAccount.strAccountCode || ' ' || AssetAccount.strAccountName "
         "As strAssetAcc, Nvl(DeprAccount.strAccountCode,'') || ' ' || "
         "Nvl(DeprAccount.strAccountName,'') As strDeprAcc,Class1.strClassCode || ' ' || "
         "Class1.strClassName As strClass1, Class2.strClassCode || ' ' || Class2.strClassName As "
         "strClass2 From " +
             orgView +
             ",zt2024.Account AssetAccount, zt2024.Account DeprAccount, zt2024.Class1, "
             "zt2024.Class2 Where AMAssetType.lngAssetAccountID = AssetAccount.lngAccountID(+) And "
             "AMAssetType.lngDepreciationAccountID = DeprAccount.lngAccountID(+) And "
             "AMAssetType.lngClassID1 = Class1.lngClassID(+) And AMAssetType.lngClassID2 = "
             "Class2.lngClassID(+) And AMAssetType.lngAMAssetTypeID = 7"},
        {"parent category",
         "SELECT lngAMAssetTypeID FROM zt2024.AMAssetType WHERE strAMAssetTypeCode = (SELECT "
         "Substr(strAMAssetTypeCode, 1, Instr(strAMAssetTypeCode, '-', -1) - 1) As "
         "strAMAssetTypeCode FROM zt2024.AMAssetType WHERE lngAMAssetTypeID = 7)"},
        {"funding source atDec deletion",
         " Delete AMAssetFund af Where Not Exists( Select 1 From AMAssetFundAlter aa Where "
         "aa.lngAMAssetFundAlterID = af.lngAMAssetFundInitAlterID) And af.lngAMAssetID = 9"},
        {"account mapping by funding source",
         "SELECT acc.*,acc1.strAccountCode || ' ' || acc1.strAccountName As "
         "strAcc1,acc2.strAccountCode || ' ' || acc2.strAccountName As strAcc2 FROM "
         "zt2024.AMAssetFundAccSetting2 acc,zt2024.Account acc1, zt2024.Account acc2 WHERE "
         "acc.lngAssetAccountID = acc1.lngAccountID(+) AND acc.lngDepreciationAccountID = "
         "acc2.lngAccountID(+) AND lngAMAssetTypeID = 7 AND lngAMFundID = 2 AND lngOrganizationID "
         "= 5"},
        {"account mapping by category",
         " Select AMAssetType.lngAssetAccountID,acc1.strAccountCode || ' ' || acc1.strAccountName "
         "As strAcc1 FROM " +
             orgView +
             ",zt2024.Account acc1 WHERE AMAssetType.lngAssetAccountID = acc1.lngAccountID(+) AND "
             "lngAMAssetTypeID = 7 AND lngOrganizationID = 5"},
        {"parent funding-source account",
         " SELECT acc.lngDepreciationAccountID As lngID, a.strAccountCode || ' ' || "
         "a.strAccountName As strAcc  FROM zt2024.AMAssetFundAccSetting2 acc," +
             orgView +
             ",zt2024.Account a  WHERE acc.lngDepreciationAccountID = a.lngAccountID(+)  AND "
             "acc.lngAMAssetTypeID = AMAssetType.lngAMAssetTypeID  AND "
             "acc.lngDepreciationAccountID <> 0 AND AMAssetType.strAMAssetTypeCode In('01-02') "
             "AND acc.lngAMFundID = 2 AND acc.lngOrganizationID = 5 ORDER BY "
             "AMAssetType.strAMAssetTypeCode Desc"},
        {"parent category account",
         " Select AMAssetType.lngDepreciationAccountID As lngID, a.strAccountCode || ' ' || "
         "a.strAccountName As strAcc  FROM " +
             orgView +
             ",zt2024.Account a  WHERE AMAssetType.lngDepreciationAccountID = a.lngAccountID(+)  "
             "AND AMAssetType.lngDepreciationAccountID <> 0 AND AMAssetType.strAMAssetTypeCode "
             "In('01-02','01')  AND AMAssetType.lngOrganizationID = 5 ORDER BY "
             "AMAssetType.strAMAssetTypeCode Desc"},
        {"CheckPriorDepreciation 6",
         "SELECT fb.lngAMAssetID" + crlf +
             "  FROM zt2023.AMAssetFundBalance fb, zt2023.AMAssetAlter fa," + crlf +
             "       (Select fb.lngAMAssetID," + crlf +
             "               Max(fb.intYear * 100 + fb.bytPeriod) As YearPeriod" + crlf +
             "          From zt2023.AMAssetFundBalance fb" + crlf +
             "         Where fb.lngOrganizationID = 5" + crlf +
             "           AND fb.intYear * 100 + fb.bytPeriod <= 202312" + crlf +
             "         Group By fb.lngAMAssetID) fbx" + crlf +
             " WHERE fb.lngAMAssetAlterID = fa.lngAMAssetAlterID" + crlf +
             "   AND fb.lngAMAssetID = fbx.lngAMAssetID" + crlf +
             "   AND fb.intYear * 100 + fb.bytPeriod = fbx.YearPeriod" + crlf +
             "   AND fa.bytAlterType <> 2" + crlf +
             "   AND fa.dblAmount - (fb.dblInitDepreciation + fb.dblDepreciation) - "
             "fa.dblDecAmount - fa.dblNetworth > 0" +
             crlf + "   AND fb.lngOrganizationID = 5" + crlf +
             "   AND fb.intYear * 100 + fb.bytPeriod <= 202312"},
        {"CheckAllPosted", "Select fa.lngorganizationid," + crlf + "       fa.lngamassetalterid," +
                               crlf + "  From zt2023.AMAssetAlter fa, zt2023.AMAssetFundDaily fd" +
                               crlf + " Where fa.lngAMAssetAlterID = fd.lngAMAssetAlterID(+)" +
                               crlf + "   And fa.lngOrganizationID = fd.lngOrganizationID(+)" +
                               crlf + "   And fd.lngAMAssetAlterID Is Null" + crlf +
                               "   And fa.lngOrganizationID = 5" + crlf + "   And rownum = 1"},
        {"BuildDailySummary",
         "CREATE TABLE zt2024.AMAssetDaily_5 As " + crlf + "SELECT fd.lngAMAssetID," + crlf +
             "      MAX(Decode(fd.YearPeriod, fdx.YearPeriod, Decode(fa.bytStatus, 2, "
             "fd.lngAMAssetAlterID, aa.lngAMAssetRecentAlterID), 0)) As lngAMAssetAlterID," +
             crlf +
             "      Round(SUM(fd.dblAmountAlter - Decode(fa.bytStatus, 2, 0, 1) * "
             "Decode(fd.YearPeriod, fdx.YearPeriod, 1, 0) * (fa.dblAmountAlter + "
             "fa.dblTransferAmountAlter)),2) As dblTotalAmount,/*原值*/" +
             crlf +
             "      MAX(Decode(fd.YearPeriod, fdx.YearPeriod, 1, 0) * fd.intTotalDepredPeriods) as "
             "intTotalDepredPeriods /*已提折旧期间数*/" +
             crlf +
             "  FROM zt2023.AMAssetFundDaily fd, zt2023.AMAssetFundAlter fa, zt2023.AMAssetAlter "
             "aa," +
             crlf +
             "       (SELECT "
             "fd.lngOrganizationID,fd.lngAMAssetID,fd.lngAMFundID,Max(fd.YearPeriod) "
             "As YearPeriod" +
             crlf + "          FROM zt2023.AMAssetFundDaily fd" + crlf +
             "         WHERE fd.lngOrganizationID = 5 AND fd.YearPeriod < 202401" + crlf +
             "         GROUP BY fd.lngOrganizationID,fd.lngAMAssetID,fd.lngAMFundID) fdx" + crlf +
             " WHERE fd.lngAMAssetFundAlterID = fa.lngAMAssetFundAlterID" + crlf +
             "   AND fa.lngAMAssetAlterID = aa.lngAMAssetAlterID" + crlf +
             "   AND fd.lngAMAssetID = fdx.lngAMAssetID" + crlf + " GROUP BY fd.lngAMAssetID"},
        {"opening records 2",
         "Insert Into zt2024.Amassetalter" + crlf + "  Select *" + crlf +
             "    From zt2023.Amassetalter Ao" + crlf + "   Where Ao.Lngamassetalterid In" + crlf +
             "         (Select a.Lngamassetlastalterid" + crlf +
             "            From zt2024.Amasset a" + crlf + "           Where Not Exists" + crlf +
             "           (Select 1" + crlf + "                    From zt2024.Amassetalter Aa" +
             crlf + "                   Where a.Lngamassetid = Aa.Lngamassetid" + crlf +
             "                     And a.Lngamassetlastalterid = Aa.Lngamassetalterid))"},
        {"opening records 13",
         " Update zt2024.AMAsset amat Set amat.strStartDate = ( Select aat.strDate From "
         "zt2023.AMAsset amt, zt2023.AMAssetAlter aat  Where amt.lngAMAssetInitAlterID = "
         "aat.lngAMAssetAlterID And amt.lngAMAssetID = amat.lngAMAssetID And aat.lngOrganizationID "
         "= 5 And aat.intYear * 100 + aat.bytPeriod < 202401) Where trim(amat.strStartDate) is "
         "null And Exists ( Select aat.strDate From zt2023.AMAsset amt, zt2023.AMAssetAlter aat  "
         "Where amt.lngAMAssetInitAlterID = aat.lngAMAssetAlterID And amt.lngAMAssetID = "
         "amat.lngAMAssetID And aat.lngOrganizationID = 5 And aat.intYear * 100 + aat.bytPeriod < "
         "202401)"},
        {"opening records 14",
         " Update zt2024.AMAsset amt Set amt.dblStartUsage = (Select Nvl(Sum (ata.intPeriods),0) "
         "From (Select YearPeriod,lngAMAssetID,Max(intPeriodAlter) As intPeriodAlter, "
         "Max(intPeriods) As intPeriods From zt2023.AMAssetFundDaily Group By "
         "lngAMAssetID,YearPeriod) ata Where ata.lngAMAssetID = amt.lngAMAssetID And "
         "ata.YearPeriod < 202401) Where Exists (Select 1 From zt2023.AMAssetFundDaily ata Where "
         "ata.lngAMAssetID = amt.lngAMAssetID And ata.lngOrganizationID = 5 And ata.YearPeriod < "
         "202401)"},
        {"opening records 19",
         " Update zt2024.AMAssetAlter amt Set "
         "(amt.dblAmount,amt.dblDepreciation,amt.dblDecAmount,amt.dblNetworth) = (Select "
         "fd.dblTotalAmount, fd.dblTotalDeprection, fd.dblTotalDecAmount, fd.dblTotalNetWorth From "
         "zt2024.AMAssetDaily_5 fd Where fd.lngAMAssetID = amt.lngAMAssetID) Where Exists (Select "
         "1 From zt2024.AMAssetDaily_5 fd Where fd.lngAMAssetID = amt.lngAMAssetID) And "
         "amt.blnIsInit = 1 And amt.lngOrganizationID = 5"},
        {"opening records 26",
         " Update zt2024.AMAssetFundAlter amt Set "
         "(amt.dblAmount,amt.dblDepreciation,amt.dblNetworth,amt.dblDecAmount) = (Select "
         "Nvl(Round(Sum (ata.dblAmountAlter),2),0),Nvl(Round(Sum (ata.dblDeprection + "
         "ata.dblDeprectionAlter),2),0),Nvl(Sum (ata.dblNetworthAlter),0),Nvl(Round(Sum "
         "(ata.dblDecAmountAlter),2),0) From zt2023.AMAssetFundDaily ata Where ata.lngAMAssetID = "
         "amt.lngAMAssetID And ata.lngAMFundID = amt.lngAMFundID And ata.YearPeriod < 202401) "
         "Where amt.blnIsInit = 1 And amt.lngOrganizationID = 5"},
        {"opening records 29",
         " Update zt2024.AMAssetFundCostAlter amt Set (amt.dblCurrAmount, amt.dblAmount, "
         "amt.dblDepreciation, amt.dblDecAmount) = (Select ata.dblAmount, ata.dblAmount, "
         "ata.dblDepreciation, ata.dblDecAmount From zt2024.AMAssetFundAlter ata Where "
         "ata.lngAMAssetFundAlterID = amt.lngAMAssetFundAlterID And ata.blnIsInit = 1)"},
        {"opening records 32",
         " Update zt2024.AMAssetOtherAlter ata Set (ata.bytAlterType, ata.intYear, ata.bytPeriod, "
         "ata.strDate) = (SELECT aa.bytAlterType, aa.intYear, aa.bytPeriod, aa.strDate   From "
         "zt2024.AMAssetAlter aa WHERE aa.blnIsInit = 1 AND aa.lngAMAssetID = ata.lngAMAssetID AND "
         "aa.lngAMAssetAlterID = ata.lngAMAssetAlterID)"},
        {"UpdateFundOpeningAmounts",
         "select fa.lngAmassetFundAlterID," + crlf + "       fa.dblAmount,fd.dbltotalamount" +
             crlf + "  from zt2023.amassetfunddaily fd, zt2024.AmassetFundAlter fa" + crlf +
             " where fd.lngAmassetFundAlterID = fa.lngAmassetFundAlterID" + crlf +
             "   And fa.blnIsInit = 1" + crlf +
             "   And (fd.lngamassetid, fd.lngamfundid, fd.yearperiod) in" + crlf +
             "       (select fd.lngamassetid, fd.lngamfundid, Max(fd.yearperiod) as yearperiod" +
             crlf + "          from zt2023.amassetfunddaily fd" + crlf +
             "         Where fd.yearperiod < 202401" + crlf +
             "         group by fd.lngamassetid, fd.lngamfundid)" + crlf +
             "   And fd.yearperiod < 202401"},
        {"card conversion source",
         "Select fc.*, fa.*,\nNvl(fax.lngFixedCardID, 0) As lngFixedCardIDx,\n"
         "Nvl(To_Number(fax.strDepreciationMethod), 0) As bytDepreciationMethodx,\n"
         "Nvl(Decode(fax.strDepreciationMethod, '3', 0, fax.intUseAge), 0) As intUseAgex,\n"
         "Nvl(Decode(fax.strDepreciationMethod, '3', fax.dblTotalWork, 0), 0) As dblTotalWorkx,\n"
         "Nvl(fm.lngAccountID,0) As lngRelativeAccountID,\nNvl(a.lngUnitID,0) As lngUnitID From \n"
         "zt2023.FixedCard fc, \nzt2023.FixedAlter fa, \nzt2023.FixedAlter fax, \n"
         "zt2023.FixedMethod fm, \nzt2023.Asset a \nWhere fc.lngFixedCardID = fa.lngFixedCardID \n"
         "And fa.lngFixedCardID = fax.lngFixedCardID(+) \n"
         "And fa.lngLastFixedAlterID = fax.lngFixedAlterID(+) \n"
         "And fa.lngFixedMethodID = fm.lngFixedMethodID(+) \nAnd fc.lngAssetID = a.lngAssetID(+) "
         "\nOrder by fc.lngFixedCardID, fa.intYear, fa.bytPeriod, fa.lngFixedAlterID"},
        {"alteration methods",
         " Insert Into zt2024.AMAssetMethod (Select 1 As lngAMAssetCategoryID,lngFixedMethodID As "
         "lngAMAssetMethodID,strFixedMethodCode As strAMAssetMethodCode, strFixedMethodName As "
         "strAMAssetMethodName,blnIsInActive, 0 As "
         "blnIsSys,Decode(strFixedMethodType,'0',0,'1',1,0) As bytAssetAlterType,lngAccountID, "
         "lngVoucherTypeID,lngTemplateID,strRemark,strStartDate, 0 As lngTradeID From "
         "zt2023.FixedMethod Where Not Exists(Select 1 From zt2024.AMAssetMethod fm Where "
         "(fm.lngAMAssetMethodID = zt2023.FixedMethod.lngFixedMethodID OR fm.strAMAssetMethodCode "
         "= zt2023.FixedMethod.strFixedMethodCode)))"},
        {"account lines union",
         " SELECT fa.lngFixedAlterID,\n        fa.lngAccountID,\n        fa.lngDepartmentID,\n"
         "        fa.dblRate\n   FROM zt2023.FixedAccount fa\n  WHERE fa.lngDepartmentID > 0\n"
         "    AND fa.lngFixedAlterID = 12\n UNION\n SELECT fa.lngFixedAlterID,\n"
         "        fa.lngAccountID,\n        fd.lngDepartmentID,\n"
         "        fd.dblRate * fa.dblRate / 100 As dblRate\n"
         "   FROM zt2023.FixedDepartment fd, zt2023.FixedAccount fa\n"
         "  WHERE fd.lngFixedAlterID = fa.lngFixedAlterID\n    AND fa.lngDepartmentID = 0\n"
         "    AND fa.lngFixedAlterID = 12"},
        {"CheckAMVersion",
         "Select 1\n  From zt2023.AMAssetAlter a\n Where a.bytStatus <> 2\n   And Rownum = 1"},
        {"CheckFixedModule",
         "Select fc.lngFixedAccountID\n  From zt2023.FixedCard fc, zt2023.Account a\n"
         " Where fc.lngFixedAccountID = a.lngAccountID\n   And a.blnIsDetail = 0\n"
         "   And Rownum = 1"},
        {"t_backupScript check",
         "select 1 from dba_tables t where t.owner = 'ZT2024' And t.table_name = "
         "upper('t_backupScript')"},
        {"script call block", "begin \nz_adj_compileObject;\nend;\n/\n"},
        {"CompileFunction", "ALTER FUNCTION zt2024.GetNextPeriod COMPILE"},
        {"TruncateTable", "Truncate Table zt2024.AMAssetCustom"},
        {"logging", "Alter Table zt2024.AMAssetFundDaily logging"},
        {"new columns",
         "Alter Table zt2024.AMAsset Add (strCreateDate Varchar2(10) Default ' ' Not Null, "
         "strAMAssetNationalCode Varchar2(60) Default ' ' Not Null)"},
        {"GetNewID", "SELECT zt2024.MMActivity_SEQ.NEXTVAL FROM DUAL"},
    };
}

TEST(OracleTranslatorCorpus, EveryTextTranslatesWithoutOracleOnlyConstructs) {
    for (const auto& [what, sql] : corpus()) {
        std::string out;
        ASSERT_NO_THROW(out = tr(sql)) << what;
        EXPECT_FALSE(mentions(out, "(+)")) << what << ": " << out;
        EXPECT_FALSE(mentions(out, "rownum")) << what << ": " << out;
        EXPECT_FALSE(mentions(out, "decode(")) << what << ": " << out;
        EXPECT_FALSE(mentions(out, "nvl(")) << what << ": " << out;
        EXPECT_FALSE(mentions(out, ".nextval") || mentions(out, ".currval")) << what << ": " << out;
        EXPECT_FALSE(mentions(out, "varchar2")) << what << ": " << out;
    }
}

TEST(OracleTranslatorStatement, OneWholeStatementPerCallAsOracleMeantIt) {
    expectRewrites({
        {"Select 1 From dual;", "Select 1 From dual"},
        {"Select 1 From dual;\n/\n", "Select 1 From dual"},
        {"Select ';' From dual", "Select ';' From dual"},
        // Comments and quotes survive as Oracle meant them.
        {"Select a /* 原值 */, b -- note\nFrom t", "Select a , b\nFrom t"},
        {"Select a/**/b From t", "Select a b From t"},
        {"Select 'it''s' || '-' From t", "Select concat('it''s', '-') From t"},
        {"Select '--' From t", "Select '--' From t"},
        {"Select \"LNGID\", \"MixedCase\" From t", "Select \"lngid\", \"MixedCase\" From t"},
        // Names with a hash are quoted, dollar names kept.
        {"select ts#+1 as tmp from sys.ts$ where o.OWNER# = u.user#",
         "select \"ts#\"+1 as tmp from sys.ts$ where o.\"owner#\" = u.\"user#\""},
        // DELETE gets its FROM, UPDATE loses its targets' qualifiers.
        {"Delete zt.T a Where a.x = 1", "Delete FROM zt.T a Where a.x = 1"},
        {"Delete From T Where x = 1", "Delete From T Where x = 1"},
        {"Update zt.T a Set a.x = a.y, T.z = 1, (a.p, q) = (Select 1, 2 From dual) Where a.x = 1",
         "Update zt.T a Set x = a.y, z = 1, (p, q) = (Select 1, 2 From dual) Where a.x = 1"},
        {"Update zt.T Set zt.T.x = 1", "Update zt.T Set x = 1"},
        {"Select a From t Minus Select a From u", "Select a From t EXCEPT Select a From u"},
        {"Select 1 From t Where (a, b) In (Select a, b From u)",
         "Select 1 From t Where (a, b) In (Select a, b From u)"},
    });
    // Several statements and broken texts are refused, not guessed.
    expectRefused({
        "Insert Into t Values (1); Delete From t",
        "Select 1 From dual;;",
        "  \n-- nothing\n",
        "Select 'open From dual",
        "Select \"open From dual",
        "Select 1 /* open From dual",
        "Select (1 From dual",
        "Select 1) From dual",
    });
}

TEST(OracleTranslatorStatement, InsertWithoutColumnListReportsItsSource) {
    auto values = OracleTranslator::translate("Insert Into zt.T Values (1, 'a,b', f(2, 3))", false);
    EXPECT_EQ(values.insertTable, "zt.t");
    EXPECT_EQ(values.insertValueCount, 3);
    EXPECT_EQ(values.insertSelect, "");

    auto query = OracleTranslator::translate(
        "Insert Into zt.T a Select * From zt.U a Where a.x = ''", false);
    EXPECT_EQ(query.sql, "Insert Into zt.T AS a Select * From zt.U a Where a.x = NULL");
    EXPECT_EQ(query.insertTable, "zt.t");
    EXPECT_EQ(query.insertSelect, "Select * From zt.U a Where a.x = NULL");

    auto parenthesised = OracleTranslator::translate("Insert Into T (Select 1 From dual)", false);
    EXPECT_EQ(parenthesised.insertSelect, "Select 1 From dual");

    auto listed = OracleTranslator::translate("Insert Into T (a, b) Select 1, 2 From dual", false);
    EXPECT_EQ(listed.insertTable, "");
    EXPECT_EQ(listed.insertValueCount, -1);
}

}  // namespace
}  // namespace tk::connect
