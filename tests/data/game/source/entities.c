#include "util.h"

LINK_ENTITY_TO_CLASS(monster_test, CTest);
LINK_ENTITY_TO_CLASS(info_three, CThree, 3);
LINK_WEAPON_TO_CLASS(CRifle, weapon_9mmAR);

/* Not linked: LINK_ENTITY_TO_CLASS(in_a_comment, CNone); */
// LINK_ENTITY_TO_CLASS(after_slashes, CNone);
static const char* text = "LINK_ENTITY_TO_CLASS(in_a_text, CNone)";

/* What a library exports besides its classes: the engine's entry point, and (in a Linux
   library, which exports every function) a helper of the movement code. */
EXPORT void GiveFnptrsToDll(void* functions, void* globals) {
    (void)functions, (void)globals;
}
#ifdef _WIN32
int PM_Helper(void) {
    return text[0];
}
#else
/* A function a Linux library imports (from the C library) is no class of its own. */
extern int rand(void);
int PM_Helper(void) {
    return text[0] + rand();
}
#endif
