-- A company kept in the older fixed-asset module, for the upgrade's tests,
-- its benchmark and the demo: run after fixed_tables.sql in the same account
-- set (search_path set to it), then call
--     SELECT FixedModuleCompany(seed, cards, first year, years, alterations);
-- seed in [-1, 1] (the same seed gives the same company), alterations 0 for
-- a random number of changes per card, else exactly that many alterations
-- per card (the addition included).
--
-- What the company does, month by month, as the module booked it:
--   * cards of four categories in both organisations; a fifth of them are
--     opening cards of the first period with periods used and depreciation
--     from before, the others additions spread over the years, their cost
--     partly in US dollars or euros on the cost lines;
--   * depreciation by straight line on the remaining value over the
--     remaining life, an addition from the month after (enterprise rule),
--     each period's charge one alteration of type 4 with its voucher;
--   * alterations of type 3: cost raised, life lengthened, impairment,
--     transfer to a department split 60/40; disposals (type 2), depreciated
--     in their own month and not after;
--   * each alteration's department shares and depreciation accounts (a line
--     without department spread over the shares, or one line per share);
--   * the physical asset behind each card (style, model, factory data,
--     location, label number, memo and the category's own fields), some with
--     documents, pictures and auxiliary equipment, and the card-number rules
--     of each category.

CREATE OR REPLACE FUNCTION FixedModuleDraw(p_low numeric, p_high numeric)
RETURNS numeric LANGUAGE sql VOLATILE AS $$
    SELECT round(p_low + (p_high - p_low) * random()::numeric, 2)
$$;

-- The alteration's department shares and account lines: a production
-- department charges manufacturing overhead, the others administration.
CREATE OR REPLACE FUNCTION FixedModuleLines(p_alter integer, p_depts integer[], p_split boolean)
RETURNS void LANGUAGE plpgsql AS $$
DECLARE
    v_rates numeric[] := CASE WHEN array_length(p_depts, 1) = 2 THEN ARRAY[60, 40]::numeric[]
                              ELSE ARRAY[100]::numeric[] END;
BEGIN
    FOR i IN 1 .. array_length(p_depts, 1) LOOP
        INSERT INTO FixedDepartment VALUES (nextval('FixedModule_SEQ'), p_alter, p_depts[i], v_rates[i]);
        IF p_split THEN
            INSERT INTO FixedAccount (lngFixedAccountItemID, lngFixedAlterID, lngAccountID, lngDepartmentID, dblRate)
            VALUES (nextval('FixedModule_SEQ'), p_alter, CASE WHEN p_depts[i] = 3 THEN 13 ELSE 18 END,
                    p_depts[i], v_rates[i]);
        END IF;
    END LOOP;
    IF NOT p_split THEN
        INSERT INTO FixedAccount (lngFixedAccountItemID, lngFixedAlterID, lngAccountID, lngDepartmentID, dblRate)
        VALUES (nextval('FixedModule_SEQ'), p_alter, CASE WHEN p_depts[1] = 3 THEN 13 ELSE 18 END, 0, 100);
    END IF;
END $$;

CREATE OR REPLACE FUNCTION FixedModuleCompany(p_seed double precision, p_cards integer, p_first_year integer,
                                              p_years integer, p_alterations integer)
RETURNS integer LANGUAGE plpgsql AS $$
DECLARE
    v_types  integer[] := ARRAY[101, 102, 103, 104];
    v_lives  integer[] := ARRAY[240, 120, 60, 96];
    v_names  text[]    := ARRAY['办公楼', '数控机床', '服务器', '货车'];
    v_last   integer   := p_years * 12;   -- periods numbered 1 .. v_last from January of the first year
    v_card   integer;
    v_org integer; v_type integer; v_add integer; v_init boolean; v_split boolean;
    v_depts integer[]; v_events integer[];
    v_cost numeric; v_accum numeric; v_impair numeric; v_residual numeric; v_life integer; v_used integer;
    v_alter integer; v_prev integer; v_charge numeric; v_net numeric; v_kind integer;
    v_year integer; v_period integer; v_date text; v_gone boolean; v_change numeric;
    v_currency integer; v_voucher integer;
BEGIN
    PERFORM setseed(p_seed);
    CREATE SEQUENCE IF NOT EXISTS FixedModule_SEQ;
    INSERT INTO Currencys (lngCurrencyID, strCurrencyCode, strCurrencyName, bytCurrencyDec, bytRateDec, dblRate)
    SELECT c.id, c.code, c.name, 2, 4, c.rate
      FROM (VALUES (2, 'USD', '美元', 7.1), (3, 'EUR', '欧元', 7.8)) AS c(id, code, name, rate)
     WHERE NOT EXISTS (SELECT 1 FROM Currencys x WHERE x.lngCurrencyID = c.id);
    INSERT INTO FixedMethod (lngFixedMethodID, strFixedMethodCode, strFixedMethodName, strFixedMethodType, lngAccountID)
    VALUES (1, '01', '购入', '0', 2), (2, '02', '自建', '0', 6), (7, '07', '出售', '1', 7),
           (8, '08', '报废', '1', 7), (11, '11', '部门调拨', '0', 3), (12, '12', '原值调整', '0', 3);
    INSERT INTO FixedType (lngFixedTypeID, strFixedTypeCode, strFixedTypeName, strFullName,
                           strDepreciationType, strDepreciationMethod, intUseAge, dblNetworthRate,
                           lngFixedAccountID, lngDeprectionAccountID, lngFixedDecAccountID)
    SELECT v_types[i], 'G' || i, v_names[i] || '类', v_names[i] || '类', '1', '2', v_lives[i], 5, 3, 4, 5
      FROM generate_series(1, 4) AS i;
    -- the categories' own fields on the card
    INSERT INTO FixedCustom (lngFixedCustomID, lngFixedTypeID, strFieldName, strCaption, blnIsMust, lngOrderNo)
    SELECT (i - 1) * 4 + f, v_types[i], (ARRAY['strCustom1', 'strCustom2', 'dblCustom1', 'strCustomDate1'])[f],
           (ARRAY['使用人', '检验要求', '维护费用', '保修期至'])[f], 0, f
      FROM generate_series(1, 4) AS i CROSS JOIN generate_series(1, 4) AS f;
    -- each period's depreciation voucher per organisation: voucher id = org * 100000 + period number
    INSERT INTO Voucher (lngVoucherID, lngVoucherTypeID, lngVoucherSourceID, intYear, bytPeriod, strDate,
                         lngOrganizationID, strNotes)
    SELECT o * 100000 + k, 1, 15, p_first_year + (k - 1) / 12, (k - 1) % 12 + 1,
           to_char(make_date(p_first_year + (k - 1) / 12, (k - 1) % 12 + 1, 1) + interval '1 month' - interval '1 day',
                   'YYYY-MM-DD'), o, '计提折旧'
      FROM generate_series(1, 2) AS o CROSS JOIN generate_series(1, v_last) AS k;

    FOR v_card IN 1 .. p_cards LOOP
        v_org := CASE WHEN random() < 0.7 THEN 1 ELSE 2 END;
        v_type := 1 + floor(random() * 4)::integer;
        v_init := random() < 0.2;
        v_add := CASE WHEN v_init THEN 1 ELSE 1 + floor(random() * v_last)::integer END;
        v_depts := ARRAY[CASE WHEN v_org = 1 THEN 1 + floor(random() * 5)::integer
                              ELSE 6 + floor(random() * 3)::integer END];
        v_split := random() < 0.3;
        v_cost := FixedModuleDraw(2000, CASE v_type WHEN 1 THEN 3000000 ELSE 400000 END);
        v_residual := round(v_cost * 0.05, 2);
        v_life := v_lives[v_type];
        v_used := CASE WHEN v_init THEN floor(random() * v_life / 2)::integer ELSE 0 END;
        v_accum := CASE WHEN v_init THEN round((v_cost - v_residual) * v_used / v_life, 2) ELSE 0 END;
        v_impair := 0;
        v_gone := false;
        -- the periods of the later alterations
        SELECT coalesce(array_agg(k ORDER BY k), '{}') INTO v_events
          FROM (SELECT k FROM generate_series(v_add + 1, v_last) AS k
                 ORDER BY random()
                 LIMIT CASE WHEN p_alterations > 0 THEN p_alterations - 1
                            ELSE floor(random() * 4)::integer END) AS e;

        -- what describes the item is drawn from the card number, so that the
        -- figures above stay those of the seed
        INSERT INTO Asset (lngAssetID, strAssetCode, strAssetName, lngUnitID, strAssetStyle, strAssetModel, strMadeIn,
                           strFactoryNo, strFactoryDate, lngLocationID, strLabelNo, strMemo, strCustom1, strCustom2,
                           dblCustom1, strCustomDate1)
        VALUES (v_card, 'ZC' || lpad(v_card::text, 6, '0'), v_names[v_type], v_type, '标准型',
                'M-' || (v_card % 17), CASE WHEN random() < 0.5 THEN '上海' ELSE '苏州' END,
                'SN' || lpad((v_card * 7919)::text, 8, '0'),
                to_char(make_date(p_first_year - 1, v_card % 12 + 1, v_card % 28 + 1), 'YYYY-MM-DD'),
                v_card % 3 + 1, CASE WHEN v_card % 5 = 0 THEN ' ' ELSE 'BQ-' || lpad(v_card::text, 6, '0') END,
                CASE WHEN v_card % 4 = 0 THEN '随机附说明书及合格证' ELSE ' ' END,
                (ARRAY['张明', '李华', '王芳', '赵强'])[v_card % 4 + 1],
                CASE WHEN v_card % 2 = 0 THEN '需年检' ELSE ' ' END, v_card % 10 * 100,
                to_char(make_date(p_first_year + 2, v_card % 12 + 1, 1), 'YYYY-MM-DD'));
        IF v_card % 7 = 0 THEN
            INSERT INTO AssetDocument VALUES (v_card, v_card, '发票' || v_card, 'D:\档案\发票' || v_card || '.pdf');
        END IF;
        IF v_card % 9 = 0 THEN
            INSERT INTO OLEStore VALUES (v_card, 1, 1, 170, v_card, '照片' || v_card || '.jpg',
                                         decode(md5(v_card::text), 'hex'));
        END IF;
        IF v_card % 11 = 0 THEN
            INSERT INTO FixedAux VALUES (v_card, v_card, '备用电源', 'UPS-3K', 1, 3500);
        END IF;
        INSERT INTO FixedCard (lngFixedCardID, lngAssetID, strFixedCardCode, strFixedCode, strFixedName,
                               lngFixedTypeID, lngFixedAccountID, lngDeprectionAccountID, lngFixedDecAccountID,
                               lngFixUpAccountID, lngSpecialAccountID, lngExpenseAccountID, strStartDate,
                               intStartPeriod)
        VALUES (v_card, v_card, 'KP' || lpad(v_card::text, 6, '0'),
                'G' || v_type || '-' || lpad(v_card::text, 6, '0'), v_names[v_type] || v_card, v_types[v_type],
                3, 4, 5, 10, 11, 18,
                to_char(make_date(p_first_year + (v_add - 1) / 12, (v_add - 1) % 12 + 1, 1)
                        - make_interval(months => v_used), 'YYYY-MM-DD'),
                v_used);

        v_prev := 0;
        FOR k IN v_add .. v_last LOOP
            EXIT WHEN v_gone;
            v_year := p_first_year + (k - 1) / 12;
            v_period := (k - 1) % 12 + 1;
            v_date := to_char(make_date(v_year, v_period, 10 + floor(random() * 15)::integer), 'YYYY-MM-DD');
            -- the charge of the period, on the state at its start
            v_charge := 0;
            IF k > v_add OR v_init THEN
                v_net := v_cost - v_impair - v_accum - v_residual;
                v_charge := CASE WHEN v_net <= 0 THEN 0 WHEN v_life - v_used <= 1 THEN v_net
                                 ELSE round(v_net / (v_life - v_used), 2) END;
                v_used := v_used + 1;
            END IF;
            IF k = v_add OR k = ANY (v_events) THEN
                v_kind := CASE WHEN k = v_add THEN 1 ELSE 1 + floor(random() * 5)::integer END;
                v_change := 0;
                IF k > v_add THEN
                    CASE v_kind
                        WHEN 1 THEN v_change := round(v_cost * 0.1, 2); v_cost := v_cost + v_change;
                        WHEN 2 THEN v_life := v_life + 12;
                        WHEN 3 THEN v_change := round((v_cost - v_impair - v_accum) * 0.1, 2);
                                    v_impair := v_impair + v_change;
                        WHEN 4 THEN v_depts := ARRAY[v_depts[1], CASE WHEN v_org = 1 THEN 3 ELSE 8 END];
                                    IF v_depts[1] = v_depts[2] THEN v_depts := v_depts[1:1]; END IF;
                        ELSE v_gone := true;
                    END CASE;
                END IF;
                v_alter := nextval('FixedModule_SEQ');
                INSERT INTO FixedAlter (lngFixedAlterID, lngFixedCardID, lngLastFixedAlterID, lngOrganizationID,
                                        intYear, bytPeriod, strDate, lngOperatorID, lngFixedMethodID, bytAlterType,
                                        blnIsInit, strFixedState, strDepreciationMethod, intUseAge, dblAmount,
                                        dblDeprection, dblNetworth, dblFixedDecAmount, dblFixedDecAlterBalance,
                                        dblFixedDecAlterAmount, dblDebitAmount, dblCreditAmount, strNotes)
                VALUES (v_alter, v_card, v_prev, v_org, v_year, v_period, v_date, 1,
                        CASE WHEN k = v_add THEN CASE WHEN v_type = 1 THEN 2 ELSE 1 END
                             WHEN v_gone THEN CASE WHEN random() < 0.5 THEN 7 ELSE 8 END
                             WHEN v_kind = 4 THEN 11 ELSE 12 END,
                        CASE WHEN k = v_add THEN 1 WHEN v_gone THEN 2 ELSE 3 END,
                        CASE WHEN v_init THEN 1 ELSE 0 END, '1', '2', v_life, v_cost,
                        v_accum, v_residual, v_impair, v_impair,
                        CASE WHEN v_kind = 3 AND k > v_add THEN v_change ELSE 0 END,
                        CASE WHEN k = v_add THEN v_cost WHEN v_kind = 1 THEN v_change ELSE 0 END,
                        CASE WHEN v_gone THEN v_cost ELSE 0 END,
                        CASE WHEN k = v_add THEN '新增' WHEN v_gone THEN '处置' ELSE '变动' END);
                PERFORM FixedModuleLines(v_alter, v_depts, v_split);
                -- the cost of an addition, and of a raise, partly in a foreign currency
                IF k = v_add OR (v_kind = 1 AND NOT v_gone) THEN
                    v_change := CASE WHEN k = v_add THEN v_cost ELSE v_change END;
                    v_currency := CASE WHEN random() < 0.3 THEN 2 + floor(random() * 2)::integer ELSE 1 END;
                    IF v_currency = 1 THEN
                        INSERT INTO FixedCost VALUES (nextval('FixedModule_SEQ'), v_alter, 1, 1, v_change, v_change);
                    ELSE
                        INSERT INTO FixedCost VALUES
                            (nextval('FixedModule_SEQ'), v_alter, v_currency, CASE v_currency WHEN 2 THEN 7.1 ELSE 7.8 END,
                             round(round(v_change * 0.4, 2) / CASE v_currency WHEN 2 THEN 7.1 ELSE 7.8 END, 2),
                             round(v_change * 0.4, 2)),
                            (nextval('FixedModule_SEQ'), v_alter, 1, 1, v_change - round(v_change * 0.4, 2),
                             v_change - round(v_change * 0.4, 2));
                    END IF;
                END IF;
                v_prev := v_alter;
            END IF;
            -- the period's depreciation, booked at its end
            v_accum := v_accum + v_charge;
            v_voucher := v_org * 100000 + k;
            v_alter := nextval('FixedModule_SEQ');
            INSERT INTO FixedAlter (lngFixedAlterID, lngFixedCardID, lngLastFixedAlterID, lngOrganizationID,
                                    intYear, bytPeriod, strDate, lngOperatorID, bytAlterType, blnIsVoucher,
                                    lngVoucherID, strFixedState, strDepreciationMethod, intUseAge, dblAmount,
                                    dblDeprection, dblNetworth, dblFixedDecAmount, dblFixedDecAlterBalance,
                                    dblPeriodDepreciation)
            VALUES (v_alter, v_card, v_prev, v_org, v_year, v_period,
                    to_char(make_date(v_year, v_period, 1) + interval '1 month' - interval '1 day', 'YYYY-MM-DD'),
                    1, 4, 1, v_voucher, '1', '2', v_life, v_cost, v_accum, v_residual, v_impair, v_impair, v_charge);
            PERFORM FixedModuleLines(v_alter, v_depts, v_split);
            INSERT INTO FixedVoucherDetail VALUES (nextval('FixedModule_SEQ'), v_voucher, v_card, v_alter, v_charge);
            v_prev := v_alter;
        END LOOP;
    END LOOP;

    -- the card numbers given so far, per organisation and category
    INSERT INTO ReceiptNoRule (lngReceiptNoRuleID, lngReceiptTypeID, bytNoIndex, lngOrganizationID,
                               lngFixedTypeID, strNoRule, intDigit, lngMaxNo)
    SELECT row_number() OVER (ORDER BY a.lngOrganizationID, c.lngFixedTypeID), 170, 1, a.lngOrganizationID,
           c.lngFixedTypeID, 'KP[流水号]', 6, max(c.lngFixedCardID)
      FROM FixedCard c JOIN FixedAlter a ON a.lngFixedCardID = c.lngFixedCardID AND a.lngLastFixedAlterID = 0
     GROUP BY a.lngOrganizationID, c.lngFixedTypeID;
    RETURN p_cards;
END $$;
