-- Depreciation routines, part 3: which version of a card or of a funding
-- source stands at a period.  Versions are ordered by their period and then
-- by id (ids grow with time).

-- The card version current at the end of period intYearPeriod; null when
-- the asset had none yet.
CREATE OR REPLACE FUNCTION AMAssetVersionAt(lngAMAssetID integer, intYearPeriod integer)
RETURNS integer LANGUAGE sql STABLE AS $$
    SELECT x.lngAMAssetAlterID
      FROM AMAssetAlter x
     WHERE x.lngAMAssetID = AMAssetVersionAt.lngAMAssetID
       AND x.intYear * 100 + x.bytPeriod <= AMAssetVersionAt.intYearPeriod
     ORDER BY x.intYear * 100 + x.bytPeriod DESC, x.lngAMAssetAlterID DESC
     LIMIT 1
$$;

-- The card version that governs the depreciation of period intYearPeriod
-- under depreciation type bytDepreciationType (see GetDeprectionPeriod).
CREATE OR REPLACE FUNCTION AMAssetGoverningVersion(lngAMAssetID integer, intYearPeriod integer,
                                                   bytDepreciationType integer)
RETURNS integer LANGUAGE sql STABLE AS $$
    SELECT x.lngAMAssetAlterID
      FROM AMAssetAlter x
     WHERE x.lngAMAssetID = AMAssetGoverningVersion.lngAMAssetID
       AND GetDeprectionPeriod(x.intYear * 100 + x.bytPeriod, AMAssetGoverningVersion.bytDepreciationType,
                               x.blnIsInit) <= AMAssetGoverningVersion.intYearPeriod
     ORDER BY x.intYear * 100 + x.bytPeriod DESC, x.lngAMAssetAlterID DESC
     LIMIT 1
$$;

-- The version of one funding source current at the end of a period.
CREATE OR REPLACE FUNCTION AMAssetFundVersionAt(lngAMAssetID integer, lngAMFundID integer,
                                                intYearPeriod integer)
RETURNS integer LANGUAGE sql STABLE AS $$
    SELECT y.lngAMAssetFundAlterID
      FROM AMAssetFundAlter y
     WHERE y.lngAMAssetID = AMAssetFundVersionAt.lngAMAssetID
       AND y.lngAMFundID = AMAssetFundVersionAt.lngAMFundID
       AND y.intYear * 100 + y.bytPeriod <= AMAssetFundVersionAt.intYearPeriod
     ORDER BY y.intYear * 100 + y.bytPeriod DESC, y.lngAMAssetFundAlterID DESC
     LIMIT 1
$$;

-- The version of one funding source that stands with card version
-- lngAMAssetAlterID: its own version there, else the latest before it.
CREATE OR REPLACE FUNCTION AMAssetFundVersionOf(lngAMAssetID integer, lngAMFundID integer,
                                                lngAMAssetAlterID integer)
RETURNS integer LANGUAGE sql STABLE AS $$
    SELECT y.lngAMAssetFundAlterID
      FROM AMAssetFundAlter y
     WHERE y.lngAMAssetID = AMAssetFundVersionOf.lngAMAssetID
       AND y.lngAMFundID = AMAssetFundVersionOf.lngAMFundID
       AND y.lngAMAssetAlterID <= AMAssetFundVersionOf.lngAMAssetAlterID
     ORDER BY y.lngAMAssetAlterID DESC, y.lngAMAssetFundAlterID DESC
     LIMIT 1
$$;

-- How a funding-source version changes the accumulated depreciation: the
-- first version of a source brings the opening figure, a later one its
-- change and transfer; a decrease (disposal) is taken out of the asset as a
-- whole by the journal and moves nothing here.
CREATE OR REPLACE FUNCTION AMAssetDepreciationChange(blnFirst boolean, bytCardAlterType integer,
                                                     dblDepreciation numeric, dblDepreciationAlter numeric,
                                                     dblTransferDepreciationAlter numeric)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN blnFirst THEN dblDepreciation
                WHEN bytCardAlterType = 2 THEN 0
                ELSE dblDepreciationAlter + dblTransferDepreciationAlter
           END
$$;
