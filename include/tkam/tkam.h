/* The fixed-asset component's C interface: late binding by class and member name. */
#ifndef TKAM_TKAM_H
#define TKAM_TKAM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tkam_object tkam_object;
enum { TKAM_EMPTY = 0, TKAM_NULL = 1, TKAM_I2 = 2, TKAM_I4 = 3, TKAM_R8 = 5,
       TKAM_TEXT = 8, TKAM_OBJECT = 9, TKAM_BOOL = 11 };
typedef struct tkam_value {
    int32_t type;          /* one of the codes above */
    int32_t i;             /* TKAM_I2, TKAM_I4, TKAM_BOOL (0 false, other true) */
    double r;              /* TKAM_R8 */
    const char *text;      /* TKAM_TEXT: UTF-8, NUL-terminated */
    tkam_object *object;   /* TKAM_OBJECT */
    int32_t owned;         /* 1 when the library allocated text/object for the caller */
} tkam_value;
typedef void (*tkam_event_fn)(void *user, const char *event, tkam_value *args, int32_t argc);

tkam_object *tkam_create(const char *progid);          /* NULL for an unknown class */
void     tkam_release(tkam_object *obj);
int32_t  tkam_can_unload_now(void);                     /* 1 when no object is alive */
int32_t  tkam_put(tkam_object *obj, const char *name, const tkam_value *value); /* an object value sets by reference */
int32_t  tkam_get(tkam_object *obj, const char *name, tkam_value *out);
int32_t  tkam_call(tkam_object *obj, const char *method, tkam_value *args, int32_t argc, tkam_value *result);
int32_t  tkam_advise(tkam_object *obj, tkam_event_fn fn, void *user);
void     tkam_value_clear(tkam_value *value);           /* frees what `owned` marks */
int32_t  tkam_set_component_folder(const char *path);
int32_t  tkam_last_error(const char **description);     /* number and text of this thread's last failure */

#ifdef __cplusplus
}
#endif

#endif
