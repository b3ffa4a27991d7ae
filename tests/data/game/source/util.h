/* The few lines of a mod's game code the test libraries are built from. Each class the code
   links becomes an exported function of its name, as in the Half-Life SDK. */
#pragma once

typedef struct entvars_s entvars_t;

#if defined(_WIN32)
#define EXPORT __declspec(dllexport)
#else
#define EXPORT __attribute__((visibility("default")))
#endif

/* Two arguments as in the SDK, or a third as some mods add. */
#define LINK_ENTITY_TO_CLASS(mapClassName, DLLClassName, ...)                                      \
    EXPORT void mapClassName(entvars_t* pev) {                                                     \
        (void)pev;                                                                                 \
    }

/* A mod's own macro that wraps it, with the name in its second place. */
#define LINK_WEAPON_TO_CLASS(DLLClassName, mapClassName)                                           \
    LINK_ENTITY_TO_CLASS(mapClassName, DLLClassName)
