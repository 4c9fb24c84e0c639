/* A payroll host written in C: the calls in the host's order, checked one by one.
 * Exits 0 when every check holds, otherwise prints the failing check and exits 1. */
#include <stdio.h>
#include <string.h>

#include "slpayprn.h"

static int failures = 0;
#define CHECK(cond)                                                                  \
    do {                                                                             \
        if (!(cond)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                              \
        }                                                                            \
    } while (0)

static int32_t put_text(slp_object* obj, const char* member, const char* text) {
    int32_t id = 0;
    if (slp_get_dispid(obj, member, &id) != SLP_OK) return -1;
    slp_value v = {SLP_TEXT, text, NULL};
    return slp_invoke(obj, id, &v);
}

int main(void) {
    slp_object* obj = NULL;
    CHECK(slp_create_object("Sl_PAYPRN.打印工资", &obj) == SLP_OK);
    if (!obj) return 1;

    const char* names[] = {"Card",    "PFirst",  "PSecond", "PThird", "PSEL",
                           "GetDWDM", "GetDWMC", "GetRQ",   "GetDB",  "GetFXRQ"};
    for (int i = 0; i < 10; ++i) {
        int32_t id = 0;
        CHECK(slp_get_dispid(obj, names[i], &id) == SLP_OK && id == i + 1);
    }
    int32_t id = 0;
    CHECK(slp_get_dispid(obj, "Nothing", &id) == SLP_DISP_E_UNKNOWNNAME);
    CHECK(strlen(slp_last_error()) > 0);

    slp_object* db = NULL;
    CHECK(slp_open_database("sqlite::memory:", &db) == SLP_OK);
    slp_value dbv = {SLP_OBJECT, NULL, db};
    CHECK(slp_invoke(obj, 9, &dbv) == SLP_OK);
    slp_release(db);

    slp_value wrong = {SLP_OBJECT, NULL, obj};
    CHECK(slp_invoke(obj, 9, &wrong) == SLP_DISP_E_TYPEMISMATCH);

    CHECK(put_text(obj, "GetDWDM", "0101") == SLP_OK);
    CHECK(put_text(obj, "GetDWMC", "朔岚示范公司") == SLP_OK);
    CHECK(put_text(obj, "GetRQ", "2000-04") == SLP_OK);
    CHECK(put_text(obj, "GetFXRQ", "25") == SLP_OK);
    CHECK(strcmp(slp_last_error(), "") == 0);

    slp_release(obj);
    if (failures == 0) printf("c host: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
