// A few lines of a mod's game code, read as text, never compiled: what composing a declaration
// reads (the engine's fields, a KeyValue() chain, Spawn()s, spawnflags and their constants).
#pragma once

#define SF_DOOR_START_OPEN 1
#define SF_DOOR_SILENT (1 << 2)
#define DOOR_OPENS_UP 0
#define DOOR_OPENS_DOWN 1

class CBaseEntity {
public:
    virtual void KeyValue(KeyValueData* pkvd) { pkvd->fHandled = FALSE; }
    void Use() { FireTargets(STRING(pev->targetname), this); }
};

class CBaseDelay : public CBaseEntity {
public:
    void KeyValue(KeyValueData* pkvd);
    float m_flDelay;
};

class CDoor : public CBaseDelay {
public:
    void Spawn(void);
    void KeyValue(KeyValueData* pkvd);
    float m_flLip;
    int m_iszMoveSound;
    int m_iOpens;
};

class CCrate : public CBaseEntity {
public:
    void Spawn(void);
};

class CBolt : public CBaseEntity {};
