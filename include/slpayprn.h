/* Sl_PAYPRN: the wage-printing component of the payroll host, as a C interface.
 *
 * A host creates the object "Sl_PAYPRN.打印工资", looks its members up by name, and invokes them by
 * dispatch id, in this order: GetDB, GetDWDM, GetDWMC, GetRQ, then GetFXRQ, then one of Card, PFirst,
 * PSecond, PThird, PSEL, each of which opens one window modeless.
 *
 * Dispatch ids: Card 1, PFirst 2, PSecond 3, PThird 4, PSEL 5, GetDWDM 6, GetDWMC 7, GetRQ 8, GetDB 9,
 * GetFXRQ 10. Texts are UTF-8. Every call returns an automation-style status code.
 *
 * Threads: every entry may be called from any thread; the calls that read or write the process's host
 * settings run one at a time, and an object stays alive until the calls on it end, even when another
 * thread releases it meanwhile. Once the process has a QApplication, the members (windows and the
 * settings the windows read) and slp_run_message_loop answer SLP_RPC_E_WRONG_THREAD on any thread but
 * the application's.
 */
#ifndef SLPAYPRN_H
#define SLPAYPRN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define SLP_API __attribute__((visibility("default")))
#else
#define SLP_API
#endif

/* Status codes. */
#define SLP_OK 0
#define SLP_E_NOTIMPL ((int32_t)0x80004001u)             /* the window is not part of this build */
#define SLP_E_POINTER ((int32_t)0x80004003u)             /* a required pointer was NULL */
#define SLP_E_UNEXPECTED ((int32_t)0x8000FFFFu)          /* no window can be shown in this process */
#define SLP_DISP_E_MEMBERNOTFOUND ((int32_t)0x80020003u) /* no member has that dispatch id */
#define SLP_DISP_E_TYPEMISMATCH ((int32_t)0x80020005u)   /* the argument is of the wrong kind */
#define SLP_DISP_E_UNKNOWNNAME ((int32_t)0x80020006u)    /* no member has that name */
#define SLP_DISP_E_EXCEPTION ((int32_t)0x80020009u)      /* the member failed; see slp_last_error */
#define SLP_DISP_E_BADPARAMCOUNT ((int32_t)0x8002000Eu)  /* wrong argument count or kind */
#define SLP_CO_E_CLASSSTRING ((int32_t)0x800401F3u)      /* unknown prog id */
#define SLP_E_DATABASE ((int32_t)0x80004005u)            /* a database could not be opened */
#define SLP_E_HANDLE ((int32_t)0x80070006u)              /* a released or unknown object pointer */
#define SLP_E_OUTOFMEMORY ((int32_t)0x8007000Eu)         /* memory ran out */
#define SLP_RPC_E_WRONG_THREAD ((int32_t)0x8001010Eu)    /* not the thread of the windows; see below */

typedef struct slp_object slp_object;

/* An argument: type 0 empty, 1 UTF-8 text, 2 object. */
enum { SLP_EMPTY = 0, SLP_TEXT = 1, SLP_OBJECT = 2 };
typedef struct {
    int32_t type;
    const char* text;
    slp_object* object;
} slp_value;

/* Creates an object by its prog id: "Sl_PAYPRN.打印工资". */
SLP_API int32_t slp_create_object(const char* prog_id, slp_object** out);
/* The dispatch id of a member, looked up by name without regard to case. */
SLP_API int32_t slp_get_dispid(slp_object* obj, const char* member, int32_t* dispid);
/* Invokes a member: NULL arg for the methods, one argument for the property puts. GetDB takes a database
 * object (or an empty value, which releases the database). */
SLP_API int32_t slp_invoke(slp_object* obj, int32_t dispid, const slp_value* arg);
/* Opens a database by its connection text ("sqlite:PATH" or "postgresql://user@host:port/db"); the
 * object is what GetDB accepts. */
SLP_API int32_t slp_open_database(const char* connection, slp_object** out);
/* For a host without its own Qt event loop: runs the windows until the last one closes. */
SLP_API int32_t slp_run_message_loop(void);
/* UTF-8 description of the last failing call on this thread, "" after a success. */
SLP_API const char* slp_last_error(void);
/* The component's version, "MAJOR.MINOR.PATCH" (the MAJOR of libSl_PAYPRN.so.MAJOR). */
SLP_API const char* slp_version(void);
/* Releases an object; the component keeps its own references where it needs them. A pointer that was
 * released before or never handed out is left alone (slp_last_error then says so); every other call
 * answers SLP_E_HANDLE for such a pointer. */
SLP_API void slp_release(slp_object* obj);

#ifdef __cplusplus
}
#endif

#endif /* SLPAYPRN_H */
