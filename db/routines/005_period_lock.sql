-- The period processes of an organisation (posting, depreciation, rebuilds,
-- amortisation) run one at a time, and a change that may rewrite the latest
-- depreciated period waits for a process in progress: a process holds the
-- lock alone (p_alone 1), changes share it.  Two closes at once would
-- otherwise read each other's half-written period, and an asset added while
-- its period is being closed could miss the run.
-- Held until the transaction ends.  Returns 0 when held; with p_wait 0 it
-- only tries, and returns 1 when another session holds it.
CREATE OR REPLACE FUNCTION AMAssetPeriodLock(p_org integer, p_alone integer, p_wait integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
DECLARE
    -- advisory locks belong to the whole database: the account set is part of the key
    v_set integer := hashtext('AMAssetPeriod ' || current_schema());
BEGIN
    IF p_alone = 1 AND p_wait = 1 THEN
        PERFORM pg_advisory_xact_lock(v_set, p_org);
    ELSIF p_alone = 1 THEN
        RETURN CASE WHEN pg_try_advisory_xact_lock(v_set, p_org) THEN 0 ELSE 1 END;
    ELSIF p_wait = 1 THEN
        PERFORM pg_advisory_xact_lock_shared(v_set, p_org);
    ELSE
        RETURN CASE WHEN pg_try_advisory_xact_lock_shared(v_set, p_org) THEN 0 ELSE 1 END;
    END IF;
    RETURN 0;
END
$$;
