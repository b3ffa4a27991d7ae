// A brush entity with keys, a default and flags; a point entity with a model and a hull; an
// entity only the code makes; one the list declares in another case.
#include "entities.h"

TYPEDESCRIPTION gEntvarsDescription[] = {
    DEFINE_ENTITY_FIELD(targetname, FIELD_STRING),
    DEFINE_ENTITY_FIELD(target, FIELD_STRING),
    DEFINE_ENTITY_FIELD(spawnflags, FIELD_FLOAT),
};

void DispatchKeyValue(edict_t* pentKeyvalue, KeyValueData* pkvd) {
    EntvarsKeyvalue(VARS(pentKeyvalue), pkvd);
}

void CBaseDelay::KeyValue(KeyValueData* pkvd) {
    if (FStrEq(pkvd->szKeyName, "delay")) {
        m_flDelay = atof(pkvd->szValue);
        pkvd->fHandled = TRUE;
    } else
        CBaseEntity::KeyValue(pkvd);
}

void CDoor::KeyValue(KeyValueData* pkvd) {
    if (FStrEq(pkvd->szKeyName, "lip")) {
        m_flLip = atoi(pkvd->szValue);
        pkvd->fHandled = TRUE;
    } else if (FStrEq(pkvd->szKeyName, "movesnd")) {
        m_iszMoveSound = ALLOC_STRING(pkvd->szValue);
        pkvd->fHandled = TRUE;
    } else if (FStrEq(pkvd->szKeyName, "opens")) {
        m_iOpens = atoi(pkvd->szValue);
        pkvd->fHandled = TRUE;
    } else if (FStrEq(pkvd->szKeyName, "style")) {
        pkvd->fHandled = TRUE; // read and ignored: nothing to offer
    } else
        CBaseDelay::KeyValue(pkvd);
}

void CDoor::Spawn(void) {
    pev->solid = SOLID_BSP;
    pev->movetype = MOVETYPE_PUSH;
    SET_MODEL(ENT(pev), STRING(pev->model));
    if (!m_flLip)
        m_flLip = 4;
    if (FBitSet(pev->spawnflags, SF_DOOR_START_OPEN))
        Open();
    if (pev->spawnflags & SF_DOOR_SILENT)
        m_iszMoveSound = 0;
    switch (m_iOpens) {
    case DOOR_OPENS_UP:
        pev->movedir = Vector(0, 0, 1);
        break;
    case DOOR_OPENS_DOWN:
        pev->movedir = Vector(0, 0, -1);
        break;
    }
}

void CCrate::Spawn(void) {
    SET_MODEL(ENT(pev), "models/crate.mdl");
    UTIL_SetSize(pev, Vector(-8, -8, 0), Vector(8, 8, 16));
}

void FireBolt(CBaseEntity* shooter) {
    CBaseEntity::Create("bolt", shooter->pev->origin, shooter->pev->angles, shooter->edict());
}

LINK_ENTITY_TO_CLASS(func_door, CDoor);
LINK_ENTITY_TO_CLASS(item_crate, CCrate);
LINK_ENTITY_TO_CLASS(bolt, CBolt);
LINK_ENTITY_TO_CLASS(info_declared, CBaseEntity);
