#pragma once

#include <QString>
#include <QStringView>

// The words of the FGD format that the check knows: class kinds, helpers and key-value types,
// with the Half-Life editors' own apart from those later editors added; and how a slip of the
// keyboard is matched to the word the user meant.

namespace fgd {

// The class kinds of Half-Life FGD files, without their @.
inline constexpr QStringView ClassKinds = u"PointClass SolidClass BaseClass";

// Helpers the Half-Life editors act on, and those other editors of the format know: both load
// everywhere, since an editor skips a helper it does not know.
inline constexpr QStringView HalfLifeHelpers =
    u"base size color studio model iconsprite sprite decal flags offset sequence body";
inline constexpr QStringView OtherHelpers =
    u"skin studioprop lightprop halfgridsnap sphere line frustum cylinder origin vecline axis "
    u"sidelist wirebox sweptplayerhull obb instance overlay overlay_transition light lightcone "
    u"keyframe animator quadbounds worldtext catapult appliesto orderby noinherit autovis bbox "
    u"lightconenew clusteredlight orientedboundingbox orientedwidthheight";
// Helpers whose one argument is a file name in double quotes.
inline constexpr QStringView FileHelpers = u"studio model studioprop sprite iconsprite decal";
// Helpers that give a class the model or sprite the editors draw it with.
inline constexpr QStringView ModelHelpers = u"model studio studioprop sprite iconsprite";
// Helpers an editor keeps one of when a class gives two (model standing for ModelHelpers).
inline constexpr QStringView SingleHelpers = u"base size color model";

// Key-value types of the Half-Life editors (sky is J.A.C.K.'s), then those later editors added.
inline constexpr QStringView HalfLifeTypes =
    u"string integer float choices flags target_source target_destination color255 color1 "
    u"studio sprite sound decal sky";
inline constexpr QStringView OtherTypes =
    u"origin void boolean bool int vector angle target_name_or_class npcclass pointentityclass "
    u"filterclass node_dest node_id scene particlesystem material scriptlist script "
    u"angle_negative_pitch vecline axis sidelist instance_file instance_parm instance_variable "
    u"texture vec_dir vec_local angle_pitch angle_local soundscape ehandle";
// Types whose values are texts, and the words that start an input's or an output's line.
inline constexpr QStringView TextTypes = u"string target_source target_destination";
inline constexpr QStringView InputOutputWords = u"input output";
// The types an input or output can pass.
inline constexpr QStringView InputOutputTypes = u"void string integer float bool boolean ehandle";

// The classes the map compilers of the ZHLT family (Zoner's tools, and VHLT and SDHLT after them)
// read and take out of the map, so that the game never sees them and no game code links them:
// hlcsg merges func_group and func_detail (VHLT) into the world, and reads info_hullshape (VHLT)
// and info_compile_parameters (ZHLT); hlrad reads info_texlights, light_shadow and light_bounce
// (ZHLT), info_smoothvalue, info_translucent, info_angularfade, info_minlights, light_surface and
// info_sunlight (VHLT); hlvis reads info_overview_point (VHLT).
inline constexpr QStringView CompilerClasses =
    u"func_group func_detail info_hullshape info_compile_parameters info_texlights light_shadow "
    u"light_bounce info_smoothvalue info_translucent info_angularfade info_minlights "
    u"light_surface info_sunlight info_overview_point";

// Whether word is one of the space-separated names, in any case (the editors ignore case).
bool isListed(QStringView word, QStringView names);

// The name closest to word when word is a likely slip of it (one or two keys wrong, missing,
// extra or swapped), or the empty text.
// mostEdits lowers the two to one, where a guess two keys away is more often wrong than right.
QString nearest(QStringView word, QStringView names, int mostEdits = 2);

bool isKnownHelper(QStringView name);
bool isKnownType(QStringView name);

inline bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Letters, digits and _ only: what game code can spell as a class or key name. The game's
// readers ask it of the names in a library's bytes too.
bool isIdentifier(QStringView name);
bool isIdentifier(QLatin1StringView name);

// A key name a GoldSrc game reads: an identifier, with two additions. Sven Co-op reads custom
// key-values named $i_, $f_, $s_ or $v_ and a name; Half-Life's multi_manager reads a target
// named more than once as target#1, target#2 (the editors add the index).
bool isKeyName(QStringView name);

// A quote or brace inside a word starts a text or an expression for some editors.
bool hasStrayQuote(QStringView word);

// A whole number that fits 64 bits.
bool isWholeNumber(QStringView text);

// A number as the editors convert it: a sign, digits with an optional point, an exponent.
// Stricter than the tokenizer's number tokens, which may hold no digit at all ("-", "."): a
// token can be of a number's kind and still be no number.
bool isNumber(QStringView text);

} // namespace fgd
