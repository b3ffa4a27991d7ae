// The C++ class behind monster_test, as a mod's header declares it (read as text, never
// compiled): a KeyValue() in its body, and the hulls a mod's util.h names.
#pragma once

#define VEC_HUMAN_HULL_MIN Vector(-16, -16, 0)
#define VEC_HUMAN_HULL_MAX Vector(16, 16, 72)

class CTest : public CBaseMonster {
public:
    void Spawn(void);
    void KeyValue(KeyValueData* pkvd) {
        if (FStrEq(pkvd->szKeyName, "volume"))
            m_volume = atoi(pkvd->szValue);
        else if (FStrEq(pkvd->szKeyName, "style") || FStrEq(pkvd->szKeyName, "height"))
            pkvd->fHandled = TRUE; // read and ignored
        else if (FStrEq(pkvd->szKeyName, "skin"))
            pev->skin = atoi(pkvd->szValue); // the engine's own field
        else if (FStrEq(pkvd->szKeyName, "waveheight"))
            pev->scale = atof(pkvd->szValue); // another name for one of the engine's fields
        else
            pkvd->fHandled = FALSE;
    }
    int m_volume;
};
