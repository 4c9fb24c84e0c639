// The C interface as a host sees it: prog id, dispatch ids, argument kinds and status codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "slpayprn.h"

namespace {

struct Component {
    slp_object* obj = nullptr;
    Component() { EXPECT_EQ(slp_create_object("Sl_PAYPRN.打印工资", &obj), SLP_OK); }
    ~Component() { slp_release(obj); }
    int32_t put(int32_t id, const char* text) {
        slp_value v{SLP_TEXT, text, nullptr};
        return slp_invoke(obj, id, &v);
    }
};

TEST(CInterface, ProgIdIsTheOnlyCreatableName) {
    slp_object* obj = reinterpret_cast<slp_object*>(0x1);
    EXPECT_EQ(slp_create_object("Sl_PAYPRN.Other", &obj), SLP_CO_E_CLASSSTRING);
    EXPECT_EQ(obj, nullptr);
    EXPECT_NE(std::string(slp_last_error()).find("Sl_PAYPRN.Other"), std::string::npos);
    EXPECT_EQ(slp_create_object("打印工资", &obj), SLP_CO_E_CLASSSTRING);
    EXPECT_EQ(slp_create_object(nullptr, &obj), SLP_E_POINTER);
    ASSERT_EQ(slp_create_object("Sl_PAYPRN.打印工资", &obj), SLP_OK);
    EXPECT_STREQ(slp_last_error(), "");
    slp_release(obj);
    slp_release(nullptr);  // harmless
}

TEST(CInterface, DispatchIdsFollowTheInterfaceOrder) {
    Component c;
    const char* names[] = {"Card",    "PFirst",  "PSecond", "PThird", "PSEL",
                           "GetDWDM", "GetDWMC", "GetRQ",   "GetDB",  "GetFXRQ"};
    for (int32_t i = 0; i < 10; ++i) {
        int32_t id = -1;
        ASSERT_EQ(slp_get_dispid(c.obj, names[i], &id), SLP_OK) << names[i];
        EXPECT_EQ(id, i + 1) << names[i];
    }
    int32_t id = -1;
    EXPECT_EQ(slp_get_dispid(c.obj, "pfirst", &id), SLP_OK);  // names are looked up without regard to case
    EXPECT_EQ(id, 2);
    for (const char* unknown : {"Print", "", "PFirst ", "GetDBX"}) {
        id = -1;
        EXPECT_EQ(slp_get_dispid(c.obj, unknown, &id), SLP_DISP_E_UNKNOWNNAME) << unknown;
        EXPECT_EQ(id, -1);
    }
    EXPECT_NE(std::string(slp_last_error()).find("GetDBX"), std::string::npos);
}

TEST(CInterface, ArgumentsOfTheWrongKindAreRefused) {
    Component c;
    Component other;
    slp_value objectArg{SLP_OBJECT, nullptr, other.obj};
    slp_value textArg{SLP_TEXT, "x", nullptr};
    slp_value nullObject{SLP_OBJECT, nullptr, nullptr};

    // GetDB takes a database object only: another component is a type mismatch.
    EXPECT_EQ(slp_invoke(c.obj, 9, &objectArg), SLP_DISP_E_TYPEMISMATCH);
    EXPECT_NE(std::string(slp_last_error()), "");
    EXPECT_EQ(slp_invoke(c.obj, 9, &textArg), SLP_DISP_E_TYPEMISMATCH);
    EXPECT_EQ(slp_invoke(c.obj, 9, &nullObject), SLP_DISP_E_TYPEMISMATCH);
    slp_value empty{SLP_EMPTY, nullptr, nullptr};
    EXPECT_EQ(slp_invoke(c.obj, 9, &empty), SLP_OK);

    // The string puts take text (or empty), and need their argument.
    EXPECT_EQ(c.put(6, "0101"), SLP_OK);
    EXPECT_STREQ(slp_last_error(), "");
    EXPECT_EQ(slp_invoke(c.obj, 8, &objectArg), SLP_DISP_E_TYPEMISMATCH);
    EXPECT_EQ(slp_invoke(c.obj, 8, nullptr), SLP_DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(slp_invoke(c.obj, 7, &empty), SLP_OK);

    // The methods take none.
    EXPECT_EQ(slp_invoke(c.obj, 2, &textArg), SLP_DISP_E_BADPARAMCOUNT);

    // Dispatch ids outside 1 ... 10.
    EXPECT_EQ(slp_invoke(c.obj, 0, nullptr), SLP_DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(slp_invoke(c.obj, 11, nullptr), SLP_DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(slp_invoke(nullptr, 2, nullptr), SLP_E_POINTER);
}

TEST(CInterface, DatabaseObjectsAreWhatGetDBAccepts) {
    Component c;
    slp_object* db = nullptr;
    EXPECT_EQ(slp_open_database("nosuchengine:x", &db), SLP_E_DATABASE);
    EXPECT_EQ(db, nullptr);
    EXPECT_NE(std::string(slp_last_error()), "");
    ASSERT_EQ(slp_open_database("sqlite::memory:", &db), SLP_OK);
    slp_value dbArg{SLP_OBJECT, nullptr, db};
    EXPECT_EQ(slp_invoke(c.obj, 9, &dbArg), SLP_OK);
    // A database object has no members.
    int32_t id = 0;
    EXPECT_EQ(slp_get_dispid(db, "PFirst", &id), SLP_DISP_E_UNKNOWNNAME);
    EXPECT_EQ(slp_invoke(db, 2, nullptr), SLP_DISP_E_MEMBERNOTFOUND);
    slp_release(db);  // the component keeps its own reference
}

}  // namespace

// Released or unknown object pointers: every call answers SLP_E_HANDLE and nothing is followed. Run in a
// child process, so a crash is seen as the child's death rather than taking the test binary along.
TEST(CInterface, ReleasedAndUnknownObjectsAreRefusedNotFollowed) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int failures = 0;
        const auto expect = [&](int32_t got, int32_t wanted) { failures += got == wanted ? 0 : 1; };
        slp_object* pay = nullptr;
        slp_object* db = nullptr;
        expect(slp_create_object("Sl_PAYPRN.打印工资", &pay), SLP_OK);
        expect(slp_open_database("sqlite::memory:", &db), SLP_OK);
        slp_release(pay);
        slp_release(pay);  // a double release is left alone
        failures += std::string(slp_last_error()).find("已释放") == std::string::npos;
        slp_release(db);
        long stackObject = 0;
        slp_object* unknown = reinterpret_cast<slp_object*>(&stackObject);
        slp_value text{SLP_TEXT, "2000-04", nullptr};
        slp_value dbArg{SLP_OBJECT, nullptr, db};
        for (slp_object* bad : {pay, unknown}) {
            int32_t id = 0;
            expect(slp_get_dispid(bad, "GetRQ", &id), SLP_E_HANDLE);
            expect(slp_invoke(bad, 8, &text), SLP_E_HANDLE);
            slp_release(bad);
        }
        // A released database handed to a live component is refused the same way.
        slp_object* live = nullptr;
        expect(slp_create_object("Sl_PAYPRN.打印工资", &live), SLP_OK);
        slp_object* spare = nullptr;
        expect(slp_open_database("sqlite::memory:", &spare), SLP_OK);
        expect(slp_invoke(live, 9, &dbArg), SLP_E_HANDLE);
        slp_release(spare);  // a release that succeeds keeps the last failure's description
        failures += std::string(slp_last_error()).find("已释放") == std::string::npos;
        expect(slp_invoke(live, 8, &text), SLP_OK);
        // The host's texts are checked where they enter.
        for (const char* bad : {"2000-04' or '1'='1", "200004"}) {
            slp_value month{SLP_TEXT, bad, nullptr};
            expect(slp_invoke(live, 8, &month), SLP_DISP_E_BADPARAMCOUNT);
        }
        slp_value name{SLP_TEXT, "朔岚\t公司", nullptr};
        expect(slp_invoke(live, 7, &name), SLP_DISP_E_BADPARAMCOUNT);
        failures += std::string(slp_last_error()).find("\\x09") == std::string::npos;
        slp_release(live);
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "calls that did not answer as expected";
}
