-- The recalculation after many assets were added at once (an import): each
-- asset is checked and recalculated as AMAssetCalcAdd does it, in one call
-- rather than one round trip each.  0 when every asset passed; else the
-- place (from 1) of the first one refused, its reason in AMAssetRefusal().
-- The statistics of the register are gathered first: the checks would
-- otherwise be planned for the tables as they stood before the import, and
-- each would read every card the import wrote before it.  From a small
-- sample: the plans need the row counts, not fine histograms.
CREATE OR REPLACE FUNCTION AMAssetCalcAddAll(p_assets integer[], p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET default_statistics_target = 10 AS $$
BEGIN
    ANALYZE AMAsset, AMAssetAlter, AMAssetFund, AMAssetFundAlter;
    FOR i IN 1 .. coalesce(array_length(p_assets, 1), 0) LOOP
        IF AMAssetCalcAdd(0, p_assets[i], p_org) <> 0 THEN
            RETURN i;
        END IF;
    END LOOP;
    RETURN 0;
END
$$;
