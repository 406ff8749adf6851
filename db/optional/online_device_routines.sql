-- Procedures of the online-device module (线上设备), installed after
-- online_device.sql in an account set that has the module.  They keep the
-- module's flat copies (ER_*) in step with the asset register: each call
-- writes the current state of one asset's records (or of an organisation's
-- depreciation), stamps the rows it touched with the time (strSyncTime) and
-- marks them pending for the platform (bytSyncStatus 0); a record that is
-- gone stays as a row with blnIsDeleted = 1 until the platform has seen it.
-- Unqualified names, like the account set's other routines.

CREATE OR REPLACE FUNCTION ER_SyncTime()
RETURNS varchar LANGUAGE sql STABLE AS $$
    SELECT to_char(clock_timestamp(), 'YYYY-MM-DD HH24:MI:SS')::varchar
$$;

-- The card: its head with its latest version.  blnIsInit is the flag the
-- component passes (1 when the asset's opening record was written).
CREATE OR REPLACE PROCEDURE UpdateER_AmAsset(p_asset integer, p_init integer)
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM AMAsset a WHERE a.lngAMAssetID = p_asset) THEN
        UPDATE ER_AmAsset e SET blnIsDeleted = 1, strSyncTime = ER_SyncTime(), bytSyncStatus = 0
         WHERE e.lngAMAssetID = p_asset;
        RETURN;
    END IF;
    INSERT INTO ER_AmAsset AS e (
        lngAMAssetID, lngAMAssetAlterID, lngOrganizationID, strAMAssetCode, strAMAssetCardCode,
        strAMAssetNationalCode, strAMAssetName, lngAMAssetTypeID, strAMAssetTypeName, lngDepartmentID,
        strDepartmentName, lngAMManagerTypeID, lngCustomerID, lngUnitID, dblQuantity, bytAlterType,
        bytAssetState, bytDepreciationMethod, dblAmount, dblDepreciation, dblNetworth, dblDecAmount, dblUseage,
        strCreateDate, strStartDate, blnIsInit, blnIsDeleted, strSyncTime, bytSyncStatus)
    SELECT a.lngAMAssetID, a.lngAMAssetLastAlterID, a.lngOrganizationID, a.strAMAssetCode, a.strAMAssetCardCode,
           a.strAMAssetNationalCode, a.strAMAssetName, a.lngAMAssetTypeID, coalesce(t.strAMAssetTypeName, ' '),
           a.lngDepartmentID, coalesce(d.strDepartmentName, ' '), a.lngAMManagerTypeID, a.lngCustomerID,
           coalesce(v.lngUnitID, 0), coalesce(v.dblQuantity, 0), coalesce(v.bytAlterType, 0),
           coalesce(v.bytAssetState, 0), coalesce(v.bytDepreciationMethod, 0), coalesce(v.dblAmount, 0),
           coalesce(v.dblDepreciation, 0), coalesce(v.dblNetworth, 0), coalesce(v.dblDecAmount, 0),
           coalesce(v.dblUseage, 0), a.strCreateDate, a.strStartDate, coalesce(p_init, 0), 0, ER_SyncTime(), 0
      FROM AMAsset a
      LEFT JOIN AMAssetAlter v ON v.lngAMAssetAlterID = a.lngAMAssetLastAlterID
      LEFT JOIN AMAssetType t ON t.lngAMAssetTypeID = a.lngAMAssetTypeID
      LEFT JOIN Department d ON d.lngDepartmentID = a.lngDepartmentID
     WHERE a.lngAMAssetID = p_asset
    ON CONFLICT (lngAMAssetID) DO UPDATE SET
        lngAMAssetAlterID = excluded.lngAMAssetAlterID, lngOrganizationID = excluded.lngOrganizationID,
        strAMAssetCode = excluded.strAMAssetCode, strAMAssetCardCode = excluded.strAMAssetCardCode,
        strAMAssetNationalCode = excluded.strAMAssetNationalCode, strAMAssetName = excluded.strAMAssetName,
        lngAMAssetTypeID = excluded.lngAMAssetTypeID, strAMAssetTypeName = excluded.strAMAssetTypeName,
        lngDepartmentID = excluded.lngDepartmentID, strDepartmentName = excluded.strDepartmentName,
        lngAMManagerTypeID = excluded.lngAMManagerTypeID, lngCustomerID = excluded.lngCustomerID,
        lngUnitID = excluded.lngUnitID, dblQuantity = excluded.dblQuantity, bytAlterType = excluded.bytAlterType,
        bytAssetState = excluded.bytAssetState, bytDepreciationMethod = excluded.bytDepreciationMethod,
        dblAmount = excluded.dblAmount, dblDepreciation = excluded.dblDepreciation,
        dblNetworth = excluded.dblNetworth, dblDecAmount = excluded.dblDecAmount, dblUseage = excluded.dblUseage,
        strCreateDate = excluded.strCreateDate, strStartDate = excluded.strStartDate,
        blnIsInit = excluded.blnIsInit, blnIsDeleted = 0, strSyncTime = excluded.strSyncTime, bytSyncStatus = 0;
END
$$;

-- The other card: its latest version's descriptive data.
CREATE OR REPLACE PROCEDURE UpdateER_AmAssetOther(p_asset integer)
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM AMAssetOther o WHERE o.lngAMAssetID = p_asset) THEN
        UPDATE ER_AmAssetOther e SET blnIsDeleted = 1, strSyncTime = ER_SyncTime(), bytSyncStatus = 0
         WHERE e.lngAMAssetID = p_asset;
        RETURN;
    END IF;
    INSERT INTO ER_AmAssetOther AS e (
        lngAMAssetID, lngAMAssetOtherAlterID, strAssetStyle, strAssetModel, strStyleModel, strBrandModel, strMaker,
        strMadeIn, strFactoryNo, strFactoryDate, lngLocationID, strPosition, strVehicleNo, strNotes, blnIsDeleted,
        strSyncTime, bytSyncStatus)
    SELECT o.lngAMAssetID, o.lngAMAssetOtherLastAlterID,
           coalesce(v.strAssetStyle, o.strAssetStyle), coalesce(v.strAssetModel, o.strAssetModel),
           coalesce(v.strStyleModel, o.strStyleModel), coalesce(v.strBrandModel, o.strBrandModel),
           coalesce(v.strMaker, o.strMaker), coalesce(v.strMadeIn, o.strMadeIn),
           coalesce(v.strFactoryNo, o.strFactoryNo), coalesce(v.strFactoryDate, o.strFactoryDate),
           coalesce(v.lngLocationID, o.lngLocationID), coalesce(v.strPosition, o.strPosition),
           coalesce(v.strVehicleNo, o.strVehicleNo), coalesce(v.strNotes, o.strNotes), 0, ER_SyncTime(), 0
      FROM AMAssetOther o
      LEFT JOIN AMAssetOtherAlter v ON v.lngAMAssetOtherAlterID = o.lngAMAssetOtherLastAlterID
     WHERE o.lngAMAssetID = p_asset
    ON CONFLICT (lngAMAssetID) DO UPDATE SET
        lngAMAssetOtherAlterID = excluded.lngAMAssetOtherAlterID, strAssetStyle = excluded.strAssetStyle,
        strAssetModel = excluded.strAssetModel, strStyleModel = excluded.strStyleModel,
        strBrandModel = excluded.strBrandModel, strMaker = excluded.strMaker, strMadeIn = excluded.strMadeIn,
        strFactoryNo = excluded.strFactoryNo, strFactoryDate = excluded.strFactoryDate,
        lngLocationID = excluded.lngLocationID, strPosition = excluded.strPosition,
        strVehicleNo = excluded.strVehicleNo, strNotes = excluded.strNotes, blnIsDeleted = 0,
        strSyncTime = excluded.strSyncTime, bytSyncStatus = 0;
END
$$;

-- The asset's auxiliary equipment, piece by piece.
CREATE OR REPLACE PROCEDURE UpdateER_AUX(p_asset integer)
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    UPDATE ER_AUX e SET blnIsDeleted = 1, strSyncTime = ER_SyncTime(), bytSyncStatus = 0
     WHERE e.lngAMAssetID = p_asset AND e.blnIsDeleted = 0
       AND NOT EXISTS (SELECT 1 FROM AMAssetAux x WHERE x.lngAMAssetAuxID = e.lngAMAssetAuxID
                                                    AND x.lngAMAssetID = p_asset);
    INSERT INTO ER_AUX AS e (lngAMAssetAuxID, lngAMAssetID, strAMAssetAuxCode, strAMAssetAuxName, strAuxStyle,
                             strUnit, dblQuantity, dblAmount, strStartDate, blnIsDeleted, strSyncTime, bytSyncStatus)
    SELECT x.lngAMAssetAuxID, x.lngAMAssetID, x.strAMAssetAuxCode, x.strAMAssetAuxName, x.strAuxStyle, x.strUnit,
           x.dblQuantity, x.dblAmount, x.strStartDate, 0, ER_SyncTime(), 0
      FROM AMAssetAux x
     WHERE x.lngAMAssetID = p_asset
    ON CONFLICT (lngAMAssetAuxID) DO UPDATE SET
        lngAMAssetID = excluded.lngAMAssetID, strAMAssetAuxCode = excluded.strAMAssetAuxCode,
        strAMAssetAuxName = excluded.strAMAssetAuxName, strAuxStyle = excluded.strAuxStyle,
        strUnit = excluded.strUnit, dblQuantity = excluded.dblQuantity, dblAmount = excluded.dblAmount,
        strStartDate = excluded.strStartDate, blnIsDeleted = 0, strSyncTime = excluded.strSyncTime,
        bytSyncStatus = 0;
END
$$;

-- The asset's labels with their latest versions.
CREATE OR REPLACE PROCEDURE UpdateER_Label(p_asset integer)
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    UPDATE ER_Label e SET blnIsDeleted = 1, strSyncTime = ER_SyncTime(), bytSyncStatus = 0
     WHERE e.lngAMAssetID = p_asset AND e.blnIsDeleted = 0
       AND NOT EXISTS (SELECT 1 FROM AMAssetLabel l WHERE l.lngAMAssetLabelID = e.lngAMAssetLabelID
                                                      AND l.lngAMAssetID = p_asset);
    INSERT INTO ER_Label AS e (lngAMAssetLabelID, lngAMAssetID, lngAMAssetLabelAlterID, strAMAssetLabelNo,
                               lngOrderNo, lngAMAssetStateID, lngLocationID, lngDepartmentID, lngEmployeeID,
                               strGuaranteeEndDate, lngOrganizationID, blnIsDeleted, strSyncTime, bytSyncStatus)
    SELECT l.lngAMAssetLabelID, l.lngAMAssetID, l.lngAMAssetLabelLastAlterID, l.strAMAssetLabelNo, l.lngOrderNo,
           coalesce(v.lngAMAssetStateID, 0), coalesce(v.lngLocationID, 0), coalesce(v.lngDepartmentID, 0),
           coalesce(v.lngEmployeeID, 0), coalesce(v.strGuaranteeEndDate, ' '), l.lngOrganizationID, 0,
           ER_SyncTime(), 0
      FROM AMAssetLabel l
      LEFT JOIN AMAssetLabelAlter v ON v.lngAMAssetLabelAlterID = l.lngAMAssetLabelLastAlterID
     WHERE l.lngAMAssetID = p_asset
    ON CONFLICT (lngAMAssetLabelID) DO UPDATE SET
        lngAMAssetID = excluded.lngAMAssetID, lngAMAssetLabelAlterID = excluded.lngAMAssetLabelAlterID,
        strAMAssetLabelNo = excluded.strAMAssetLabelNo, lngOrderNo = excluded.lngOrderNo,
        lngAMAssetStateID = excluded.lngAMAssetStateID, lngLocationID = excluded.lngLocationID,
        lngDepartmentID = excluded.lngDepartmentID, lngEmployeeID = excluded.lngEmployeeID,
        strGuaranteeEndDate = excluded.strGuaranteeEndDate, lngOrganizationID = excluded.lngOrganizationID,
        blnIsDeleted = 0, strSyncTime = excluded.strSyncTime, bytSyncStatus = 0;
END
$$;

-- An organisation's depreciation per asset and period, summed over the
-- funding sources: with p_init 1 every depreciated period again, otherwise
-- the latest one (periods taken back since disappear).
CREATE OR REPLACE PROCEDURE UpdateER_Depreciation(p_org integer, p_init integer)
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_latest integer := (SELECT max(d.intYear * 100 + d.bytPeriod) FROM AMAssetDepreciation d
                          WHERE d.lngOrganizationID = p_org);
BEGIN
    DELETE FROM ER_Depreciation e
     WHERE e.lngOrganizationID = p_org
       AND (p_init = 1 OR v_latest IS NULL OR e.intYear * 100 + e.bytPeriod >= v_latest);
    INSERT INTO ER_Depreciation (lngAMAssetID, intYear, bytPeriod, lngOrganizationID, dblDepreciation,
                                 dblTotalDepreciation, dblNetValue, blnIsInit, strSyncTime, bytSyncStatus)
    SELECT b.lngAMAssetID, b.intYear, b.bytPeriod, p_org, sum(b.dblDepreciation),
           sum(b.dblInitDepreciation + b.dblDepreciation),
           sum(f.dblAmount - f.dblDecAmount - b.dblInitDepreciation - b.dblDepreciation),
           CASE WHEN p_init = 1 THEN 1 ELSE 0 END, ER_SyncTime(), 0
      FROM AMAssetFundBalance b
      JOIN AMAssetFundAlter f ON f.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID
     WHERE b.lngOrganizationID = p_org
       AND (p_init = 1 OR b.intYear * 100 + b.bytPeriod = v_latest)
     GROUP BY b.lngAMAssetID, b.intYear, b.bytPeriod;
END
$$;
