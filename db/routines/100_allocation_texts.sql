-- The allocation texts a version shows: where its depreciation goes and in
-- which currencies it was paid, made from its lines so that they never
-- disagree with them.
--
-- AMAssetFundAlter.strDepartmentStr: each department of the version's account
-- lines (those not flagged for increases) with its share, "生产车间 60%,行政部 40%";
-- strAccountStr likewise per account, "5101 制造费用 60%,6602 管理费用 40%";
-- strCurrencyStr: the currencies of its cost lines, "人民币,美元".  Each in the
-- order of the lines, cut to the column's 2000 characters; a blank (' ')
-- where there is no line.  A card version with one funding-source version
-- shows that version's texts.  AMAssetFundAccAlter.dblQuotiety, the department
-- coefficient, becomes the department's share of the version (the sum of
-- its lines' shares, increase lines apart); it is shown, never weighed.
-- p_asset 0 rebuilds every version of the set, else that asset's; p_part 1
-- the coefficients, 2 the department and account texts, 3 the currency
-- text, 0 all three.  A row whose texts stand as they are is not written
-- again: an upgrade would otherwise leave each version behind twice, for
-- the journal posting after it to read past.

CREATE OR REPLACE FUNCTION AMAssetShareText(p_share numeric)
RETURNS text LANGUAGE sql IMMUTABLE AS $$
    SELECT trim_scale(round(p_share, 2))::text || '%'
$$;

CREATE OR REPLACE FUNCTION AMAssetAllocationTexts(p_asset integer, p_part integer DEFAULT 0)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_rows integer := 0;
BEGIN
    IF p_part IN (0, 1) THEN
        UPDATE AMAssetFundAccAlter l
           SET dblQuotiety = s.dblShare
          FROM (SELECT x.lngAMAssetFundAccAlterID,
                       sum(x.dblRate) OVER (PARTITION BY x.lngAMAssetFundAlterID, x.lngDepartmentID,
                                                         x.blnDepreIncrease <> 0) AS dblShare
                  FROM AMAssetFundAccAlter x
                  JOIN AMAssetFundAlter f ON f.lngAMAssetFundAlterID = x.lngAMAssetFundAlterID
                 WHERE p_asset = 0 OR f.lngAMAssetID = p_asset) s
         WHERE l.lngAMAssetFundAccAlterID = s.lngAMAssetFundAccAlterID;
        GET DIAGNOSTICS v_rows = ROW_COUNT;
    END IF;
    IF p_part IN (0, 2) THEN
        UPDATE AMAssetFundAlter f
           SET strDepartmentStr = coalesce(left(d.strText, 2000), ' '),
               strAccountStr    = coalesce(left(a.strText, 2000), ' ')
          FROM AMAssetFundAlter v
          LEFT JOIN LATERAL (
                SELECT string_agg(coalesce(dp.strDepartmentName, '部门' || g.lngDepartmentID) || ' '
                                  || AMAssetShareText(g.dblShare), ',' ORDER BY g.intFirst) AS strText
                  FROM (SELECT l.lngDepartmentID, sum(l.dblRate) AS dblShare, min(l.lngOrderNo) AS intFirst
                          FROM AMAssetFundAccAlter l
                         WHERE l.lngAMAssetFundAlterID = v.lngAMAssetFundAlterID AND l.blnDepreIncrease = 0
                           AND l.lngDepartmentID <> 0
                         GROUP BY l.lngDepartmentID) g
                  LEFT JOIN Department dp ON dp.lngDepartmentID = g.lngDepartmentID) d ON true
          LEFT JOIN LATERAL (
                SELECT string_agg(trim(coalesce(ac.strAccountCode, '') || ' ' || coalesce(ac.strAccountName, ''))
                                  || ' ' || AMAssetShareText(g.dblShare), ',' ORDER BY g.intFirst) AS strText
                  FROM (SELECT l.lngAccountID, sum(l.dblRate) AS dblShare, min(l.lngOrderNo) AS intFirst
                          FROM AMAssetFundAccAlter l
                         WHERE l.lngAMAssetFundAlterID = v.lngAMAssetFundAlterID AND l.blnDepreIncrease = 0
                         GROUP BY l.lngAccountID) g
                  LEFT JOIN Account ac ON ac.lngAccountID = g.lngAccountID) a ON true
         WHERE f.lngAMAssetFundAlterID = v.lngAMAssetFundAlterID
           AND (p_asset = 0 OR v.lngAMAssetID = p_asset)
           AND (f.strDepartmentStr, f.strAccountStr)
               IS DISTINCT FROM (coalesce(left(d.strText, 2000), ' '), coalesce(left(a.strText, 2000), ' '));
        GET DIAGNOSTICS v_rows = ROW_COUNT;
    END IF;
    IF p_part IN (0, 3) THEN
        UPDATE AMAssetFundAlter f
           SET strCurrencyStr = coalesce(left(c.strText, 2000), ' ')
          FROM AMAssetFundAlter v
          LEFT JOIN LATERAL (
                SELECT string_agg(coalesce(cu.strCurrencyName, '币种' || g.lngCurrencyID), ',' ORDER BY g.intFirst)
                       AS strText
                  FROM (SELECT l.lngCurrencyID, min(l.lngAMAssetFundCostAlterID) AS intFirst
                          FROM AMAssetFundCostAlter l
                         WHERE l.lngAMAssetFundAlterID = v.lngAMAssetFundAlterID
                         GROUP BY l.lngCurrencyID) g
                  LEFT JOIN Currencys cu ON cu.lngCurrencyID = g.lngCurrencyID) c ON true
         WHERE f.lngAMAssetFundAlterID = v.lngAMAssetFundAlterID
           AND (p_asset = 0 OR v.lngAMAssetID = p_asset)
           AND f.strCurrencyStr IS DISTINCT FROM coalesce(left(c.strText, 2000), ' ');
        GET DIAGNOSTICS v_rows = ROW_COUNT;
    END IF;

    IF p_part = 1 THEN
        RETURN v_rows;
    END IF;
    UPDATE AMAssetAlter c
       SET strDepartmentStr = f.strDepartmentStr, strAccountStr = f.strAccountStr,
           strCurrencyStr = f.strCurrencyStr
      FROM AMAssetFundAlter f
     WHERE f.lngAMAssetAlterID = c.lngAMAssetAlterID
       AND (p_asset = 0 OR c.lngAMAssetID = p_asset)
       AND NOT EXISTS (SELECT 1 FROM AMAssetFundAlter o
                        WHERE o.lngAMAssetAlterID = c.lngAMAssetAlterID
                          AND o.lngAMAssetFundAlterID <> f.lngAMAssetFundAlterID)
       AND (c.strDepartmentStr, c.strAccountStr, c.strCurrencyStr)
           IS DISTINCT FROM (f.strDepartmentStr, f.strAccountStr, f.strCurrencyStr);
    RETURN v_rows;
END $$;
