/* The fixed-asset component's C interface: late binding by class and member name. */
#ifndef TKAM_TKAM_H
#define TKAM_TKAM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tkam_object tkam_object;
/* The type codes of a value. */
enum {
    TKAM_EMPTY = 0,
    TKAM_NULL = 1,
    TKAM_I2 = 2,
    TKAM_I4 = 3,
    TKAM_R8 = 5,
    TKAM_TEXT = 8,
    TKAM_OBJECT = 9,
    TKAM_BOOL = 11
};
typedef struct tkam_value {
    int32_t type;        /* one of the codes above */
    int32_t i;           /* TKAM_I2, TKAM_I4, TKAM_BOOL (0 false, other true) */
    double r;            /* TKAM_R8 */
    const char* text;    /* TKAM_TEXT: UTF-8, NUL-terminated, never NULL */
    tkam_object* object; /* TKAM_OBJECT: NULL (Nothing) or an object this library handed out */
    int32_t owned;       /* 1 when the library allocated text/object for the caller */
} tkam_value;
typedef void (*tkam_event_fn)(void* user, const char* event, tkam_value* args, int32_t argc);

/* Error numbers; 0 is success. A call refused for a malformed argument changes nothing. */
enum {
    /* A NULL name, value or result pointer; a NULL argument array with a count above 0 or a
     * negative count; a text that is NULL or not valid UTF-8; an unknown class. */
    TKAM_E_INVALID_ARGUMENT = 5,
    TKAM_E_OVERFLOW = 6,
    /* Also a type code that is not one of the codes above. */
    TKAM_E_TYPE_MISMATCH = 13,
    TKAM_E_INVALID_USE_OF_NULL = 94,
    /* A NULL object, or a pointer that is no live object of this library. */
    TKAM_E_OBJECT_REQUIRED = 424,
    TKAM_E_NO_SUCH_MEMBER = 438,
    /* The database refused (E_FAIL). */
    TKAM_E_DATABASE = -2147467259
};

/* The values of members typed by these enumerations: a card's Mode, GetCode's kind. */
enum AlterTypeEnum { atUnkonwn = 0, atAdd = 1, atDec = 2, atOther = 3 };
enum AssetCodeTypeEnum {
    acAssetCode = 1,
    acAssetCardCode = 2,
    acAssetLabel = 3,
    acAssetNationalCode = 4
};

/* NULL for an unknown class; tkam_last_error says why. */
tkam_object* tkam_create(const char* progid);
/* Releasing an object twice is the host's fault, as with free. */
void tkam_release(tkam_object* obj);
/* 1 when no object is alive. */
int32_t tkam_can_unload_now(void);
/* An object value sets by reference. */
int32_t tkam_put(tkam_object* obj, const char* name, const tkam_value* value);
int32_t tkam_get(tkam_object* obj, const char* name, tkam_value* out);
/* `args` may be NULL when argc is 0; `result` may be NULL when the host wants no result. */
int32_t tkam_call(tkam_object* obj, const char* method, tkam_value* args, int32_t argc,
                  tkam_value* result);
/* A NULL fn stops the events. A handler may change the arguments an event passes by
 * reference; they go back to the object when it returns. Events raised:
 *   DOSOutputs       "ReceiveOutputs" (chunk TEXT)
 *   clsAMAssetUpdate "UpdateProgress" (Progress I4, TotalProgress I4, Message TEXT,
 *                                      Cancel BOOL by reference; the run does not stop for it)
 *                    "MessageBox"     (Prompt TEXT, Style I4 = 48 warning, Title TEXT) */
int32_t tkam_advise(tkam_object* obj, tkam_event_fn fn, void* user);
/* Frees what `owned` marks. */
void tkam_value_clear(tkam_value* value);
int32_t tkam_set_component_folder(const char* path);
/* The number and text of this thread's last failure. */
int32_t tkam_last_error(const char** description);

#ifdef __cplusplus
}
#endif

#endif
