// The functions, the collation and the two-state type that translated statements use on a PostgreSQL
// database, in the component's own schema. The host's Val, Left and number-text rules are written in
// SQL where the plain decimal texts of the wage columns take a short way, and in PL/pgSQL for the rest.
#include <QStringList>

#include "data/jet/emitter.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

namespace {

// The faults are raised in the host engine's words.
const char16_t* const helperStatements[] = {
    // One installer at a time; the lock ends with the transaction.
    uR"(SELECT pg_advisory_xact_lock(hashtext('sl_payprn helpers')))",
    uR"(CREATE SCHEMA IF NOT EXISTS sl_payprn)",
    // Texts compare like the host engine's: Latin letters without regard to case or width, Chinese
    // characters in pinyin order, Latin before Chinese (kr-zzzz undoes the Chinese tailoring's
    // reordering of Han first).
    uR"(CREATE COLLATION IF NOT EXISTS sl_payprn.slp_text
        (provider = icu, locale = 'zh-u-co-pinyin-ks-level2-kr-zzzz', deterministic = false))",
    // The host's True and False, -1 and 0, in a type of their own so the table definition reads back.
    uR"(DO $do$ BEGIN
        IF to_regtype('sl_payprn.yes_no') IS NULL THEN
            CREATE DOMAIN sl_payprn.yes_no AS smallint CHECK (VALUE IN (0, -1));
        END IF; END $do$)",
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.fail(message text) RETURNS double precision
        LANGUAGE plpgsql STABLE PARALLEL SAFE AS $f$ BEGIN RAISE EXCEPTION '%', message; END $f$)",
    // The leading numeric value of a text: blanks, tabs and line feeds anywhere skipped; a sign, digits
    // with one point, an exponent with E or D; or &H / &O digits. 0 when there is none.
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.leading_value(t text) RETURNS double precision
        LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $f$
        DECLARE
            s text := translate(t, E' \t\n', '');
            m text[];
            digits text;
            base int := 16;
            v double precision := 0;
            n numeric;
            e int := 0;
        BEGIN
            m := regexp_match(s, '^&([hHoO])([0-9a-fA-F]*)');
            IF m IS NOT NULL THEN
                IF lower(m[1]) = 'o' THEN
                    base := 8;
                    digits := substring(m[2] from '^[0-7]*');
                ELSE
                    digits := m[2];
                END IF;
                FOR i IN 1 .. length(digits) LOOP
                    v := v * base + (strpos('0123456789abcdef', lower(substr(digits, i, 1))) - 1);
                END LOOP;
                RETURN v;
            END IF;
            m := regexp_match(s, '^([+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+))(?:[eEdD]([+-]?[0-9]+))?');
            IF m IS NULL THEN RETURN 0; END IF;
            IF m[2] IS NOT NULL THEN
                IF length(ltrim(m[2], '+-0')) > 6 THEN
                    e := CASE WHEN m[2] LIKE '-%' THEN -1000000 ELSE 1000000 END;
                ELSE
                    e := CAST(m[2] AS int);
                END IF;
            END IF;
            IF e < -100000 THEN RETURN 0; END IF;
            IF e > 100000 THEN
                IF CAST(m[1] AS numeric) = 0 THEN RETURN 0; END IF;
                RETURN CASE WHEN m[1] LIKE '-%' THEN '-Infinity' ELSE 'Infinity' END;
            END IF;
            n := CAST(m[1] AS numeric) * power(10::numeric, e);
            IF abs(n) > 1.7976931348623157e308 THEN
                RETURN CASE WHEN n < 0 THEN '-Infinity' ELSE 'Infinity' END;
            END IF;
            IF abs(n) < 2.2250738585072014e-308 THEN RETURN 0; END IF;
            RETURN CAST(n AS double precision);
        END $f$)",
    // Val(x): null refused, as the host's Val does. Plain decimals (blanks around them too: a card number
    // joined to ' ') take the short way.
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.val(t text) RETURNS double precision
        LANGUAGE sql STABLE PARALLEL SAFE AS $f$
        SELECT CASE WHEN t IS NULL THEN sl_payprn.fail('无效使用 Null')
                    WHEN t = '' THEN 0
                    WHEN t ~ '^ *-?[0-9]{1,30}(\.[0-9]{1,30})? *$' THEN CAST(t AS double precision) + 0
                    ELSE sl_payprn.leading_value(t) END $f$)",
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.val(x double precision) RETURNS double precision
        LANGUAGE sql STABLE PARALLEL SAFE AS $f$
        SELECT CASE WHEN x IS NULL THEN sl_payprn.fail('无效使用 Null') ELSE x + 0 END $f$)",
    // The number a text stands for where a number is wanted (compared with a number, summed): the
    // whole text must read as one, or the statement fails with 类型不匹配.
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.num(t text) RETURNS double precision
        LANGUAGE sql STABLE PARALLEL SAFE AS $f$
        SELECT CASE WHEN t IS NULL THEN NULL
                    WHEN t ~ '^ *-?[0-9]{1,30}(\.[0-9]{1,30})? *$' THEN CAST(t AS double precision) + 0
                    WHEN t ~ '^ *([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eEdD][+-]?[0-9]+)?|&[hH][0-9a-fA-F]+|&[oO][0-7]+) *$'
                        THEN sl_payprn.leading_value(t)
                    ELSE sl_payprn.fail('类型不匹配') END $f$)",
    // A number's plain decimal text, never with an exponent: what it becomes when joined to a text.
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.show(x double precision) RETURNS text
        LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $f$
        SELECT CASE WHEN strpos(CAST(x + 0 AS text), 'e') = 0 THEN CAST(x + 0 AS text)
                    ELSE CAST(trim_scale(CAST(x AS numeric)) AS text) END $f$)",
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.show(x real) RETURNS text
        LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $f$
        SELECT CASE WHEN strpos(CAST(x + 0 AS text), 'e') = 0 THEN CAST(x + 0 AS text)
                    ELSE CAST(trim_scale(CAST(CAST(CAST(x AS text) AS double precision) AS numeric)) AS text)
                    END $f$)",
    // Left(x, n): n rounded half to even; a null n or a negative one refused; a null x stays null.
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.left(t text, n double precision) RETURNS text
        LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $f$
        DECLARE k double precision;
        BEGIN
            IF n IS NULL THEN RAISE EXCEPTION '无效使用 Null'; END IF;
            k := round(n);
            IF NOT (k >= 0) THEN RAISE EXCEPTION '无效的过程调用或参数'; END IF;
            IF t IS NULL THEN RETURN NULL; END IF;
            RETURN left(t, CAST(least(k, 2147483647) AS int));
        END $f$)",
    // Installed last: its presence says that everything above is there.
    uR"(CREATE OR REPLACE FUNCTION sl_payprn.helpers_v1() RETURNS integer
        LANGUAGE sql IMMUTABLE AS $f$ SELECT 1 $f$)",
};

}  // namespace

QStringList postgresHelperStatements() {
    QStringList out;
    for (const char16_t* s : helperStatements) out << QString::fromUtf16(s);
    return out;
}

QString postgresHelpersCheck() {
    return u"SELECT to_regprocedure('sl_payprn.helpers_v1()') IS NOT NULL"_s;
}

}  // namespace slp::jet
