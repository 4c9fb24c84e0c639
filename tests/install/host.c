/* A payroll host built against the installed component, as a host on Linux builds one: with pkg-config
 * or CMake's find_package. It hands the component a database and the month in the host's order and opens
 * the employee wage table through the C interface. Usage: host DATABASE_FILE. Exits 0 when the window
 * opened, otherwise prints the failing call and slp_last_error() and exits 1. */
#include <stdio.h>
#include <string.h>

#include "slpayprn.h"

static int call(slp_object* obj, const char* member, const slp_value* arg) {
    int32_t id = 0;
    int32_t status = slp_get_dispid(obj, member, &id);
    if (status == SLP_OK) status = slp_invoke(obj, id, arg);
    if (status != SLP_OK)
        fprintf(stderr, "%s: status 0x%08x: %s\n", member, (unsigned)status, slp_last_error());
    return status == SLP_OK;
}

static int put_text(slp_object* obj, const char* member, const char* text) {
    slp_value v = {SLP_TEXT, text, NULL};
    return call(obj, member, &v);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: host DATABASE_FILE\n");
        return 2;
    }
    printf("component %s\n", slp_version());

    char connection[4096];
    snprintf(connection, sizeof connection, "sqlite:%s", argv[1]);
    slp_object* pay = NULL;
    slp_object* db = NULL;
    if (slp_create_object("Sl_PAYPRN.打印工资", &pay) != SLP_OK ||
        slp_open_database(connection, &db) != SLP_OK) {
        fprintf(stderr, "create: %s\n", slp_last_error());
        return 1;
    }
    slp_value dbv = {SLP_OBJECT, NULL, db};
    const int ok = call(pay, "GetDB", &dbv) && put_text(pay, "GetDWDM", "0101") &&
                   put_text(pay, "GetDWMC", "朔岚示范公司") && put_text(pay, "GetRQ", "2000-04") &&
                   put_text(pay, "GetFXRQ", "25") && call(pay, "PFirst", NULL);
    slp_release(db);
    slp_release(pay);
    if (ok) printf("the employee wage table opened\n");
    return ok ? 0 : 1;
}
