// monster_test's Spawn(): the model it falls back on and the hull it stands in. With the engine's
// field table, which says which keys the engine fills itself.
#include "monster.h"

TYPEDESCRIPTION gEntvarsDescription[] = {
    DEFINE_ENTITY_FIELD(targetname, FIELD_STRING),
    DEFINE_ENTITY_FIELD(skin, FIELD_INTEGER),
};

void CTest::Spawn(void) {
    if (pev->model)
        SET_MODEL(ENT(pev), STRING(pev->model));
    else
        SET_MODEL(ENT(pev), "models/Test.mdl");
    UTIL_SetSize(pev, VEC_HUMAN_HULL_MIN, VEC_HUMAN_HULL_MAX);
}
