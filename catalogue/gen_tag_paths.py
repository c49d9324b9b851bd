#!/usr/bin/env python3
"""Writes the catalogue's tag path list: one "name.class" line per catalogue row.

Only the row classes, the weapon rows and the packed name offsets matter to the editor (they
are what check_tag_paths.py enforces); the names themselves are made up so that the list reads
like a real map's tag index. Rows are laid out in themed sections (the scenario's globals and
interface, each weapon with what it pulls in, vehicles, scenery, the level), and inside a
section tags hang off one another the way a dependency walk lists them.

The packed offsets leave no slack, so names are generated first and then lengthened or
shortened, a few characters here and there, until every span between two fixed offsets adds up.

Usage: gen_tag_paths.py [--seed N] OUTPUT
Seed 0 gives the committed list; other seeds give other, equally valid lists.
"""
import argparse
import heapq
import os
import random
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_tag_paths as rules  # noqa: E402

ROWS = rules.ROW_COUNT

# Longest suffix added to a generated name to make its length fit.
MAX_PAD = 18
# Generated name variants per row; the fitter may pick any of them.
VARIANTS = 5
ATTEMPTS = 8

# ---------------------------------------------------------------------------------------------
# Vocabulary. Generic words only: each map gets its own level and sky names from the seed.

LEVELS = [
    "ridgeback", "saltmarsh", "greywater", "ironvale", "stonegate", "highpass", "coldwell",
    "redcliff", "duskfield", "emberfall", "windmere", "hollowpeak", "cinderbrook", "foxglen",
    "longridge", "bramblewood", "quarry run", "frostmoor",
]
SKIES = [
    "clear afternoon", "overcast", "early dusk", "alpine morning", "storm front", "high haze",
    "summer noon", "winter dawn", "thin cloud", "late evening",
]

SCENERY = [
    ("rocks/boulder", "boulder"), ("rocks/rock pile", "rock pile"),
    ("rocks/cliff chunk", "cliff chunk"), ("rocks/flat stone", "flat stone"),
    ("trees/pine tree", "pine tree"), ("trees/dead tree", "dead tree"),
    ("trees/birch", "birch"), ("trees/tree stump", "tree stump"), ("plants/fern", "fern"),
    ("plants/shrub", "shrub"), ("plants/tall grass", "tall grass"),
    ("crates/supply crate", "supply crate"), ("crates/ammo case", "ammo case"),
    ("barrels/fuel barrel", "fuel barrel"), ("barricades/sandbag wall", "sandbag wall"),
    ("barricades/concrete barrier", "concrete barrier"), ("lights/floodlight", "floodlight"),
    ("lights/lamp post", "lamp post"), ("pipes/pipe bend", "pipe bend"),
    ("machinery/generator", "generator"), ("machinery/pump station", "pump station"),
    ("teleporter/teleporter pad", "teleporter pad"), ("beacons/signal beacon", "signal beacon"),
    ("beacons/radio mast", "radio mast"), ("banners/team banner", "team banner"),
    ("wrecks/truck wreck", "truck wreck"), ("fences/chain fence", "chain fence"),
    ("bridges/rope bridge", "rope bridge"), ("towers/watch tower", "watch tower"),
    ("markers/spawn marker", "spawn marker"),
]

WEAPONS = {
    "assault rifle": ["bullet"], "pistol": ["bullet"], "shotgun": ["pellet"],
    "plasma rifle": ["bolt"], "rocket launcher": ["rocket"], "sniper rifle": ["bullet"],
    "plasma pistol": ["bolt", "charged bolt"], "flamethrower": ["flame"],
    "gravity rifle": ["pulse"], "needler": ["needle"], "ball": ["ball"], "flag": ["flag"],
}
VEHICLES = {
    "warthog": ["warthog bullet"], "scorpion": ["cannon shell", "scorpion bullet"],
    "ghost": ["ghost bolt"],
}

# Words that only suit one subject; they join the generic lists when that subject is drawn.
SUBJECT_WORDS = {
    "assault rifle": {"wsnd": ["magazine out", "magazine in", "burst"],
                      "wfx": ["shell casing"], "wpart": ["clip", "display"]},
    "pistol": {"wsnd": ["magazine out", "magazine in", "zoom in", "zoom out"],
               "wfx": ["shell casing"], "wpart": ["clip", "scope"]},
    "shotgun": {"wsnd": ["pump", "shell load"], "wfx": ["shell casing"], "wpart": ["pump"]},
    "plasma rifle": {"wsnd": ["overheat", "vent", "cool down"],
                     "wfx": ["overheat", "cooldown"], "wpart": ["vents", "coils"]},
    "rocket launcher": {"wsnd": ["lock on", "rocket load"], "wpart": ["tube", "scope"]},
    "sniper rifle": {"wsnd": ["zoom in", "zoom out", "bolt cycle", "magazine out"],
                     "wfx": ["shell casing"], "wpart": ["scope", "clip"]},
    "plasma pistol": {"wsnd": ["charge up", "overheat", "vent"],
                      "wfx": ["charged", "overheat", "cooldown"], "wpart": ["vents", "coils"]},
    "flamethrower": {"wsnd": ["fire loop start", "fire loop end", "pilot light"],
                     "wfx": ["pilot light", "fuel leak"], "wpart": ["tank", "nozzle"]},
    "gravity rifle": {"wsnd": ["spin up", "spin down", "charge up"],
                      "wfx": ["charged", "field"], "wpart": ["coils", "emitter"]},
    "needler": {"wsnd": ["reload spin", "crystal shatter"], "wfx": ["crystal burst"],
                "wpart": ["crystals", "spines"]},
    "warthog": {"vsnd": ["tire squeal", "gear shift", "horn", "suspension"],
                "vfx": ["wheel dust", "skid marks", "tire spray"],
                "vpart": ["wheel", "tire", "hood", "bumper", "windshield", "suspension",
                          "roll cage", "exhaust"]},
    "scorpion": {"vsnd": ["tread loop", "turret turn", "cannon fire", "cannon reload"],
                 "vfx": ["tread dirt", "cannon blast"],
                 "vpart": ["hull", "turret", "tread", "cannon", "hatch", "engine deck"]},
    "ghost": {"vsnd": ["hover loop", "boost", "strafe"],
              "vfx": ["hover dust", "boost trail", "boost"],
              "vpart": ["hull", "wings", "cockpit", "gun pods", "thrusters"]},
}

VOCAB = {
    "maptype": ["diffuse", "bump", "multipurpose", "detail", "reflection", "illum",
                "glow", "normal", "mask", "plate", "alpha", "cube map", "color change",
                "self illum", "gloss"],
    "mat": ["metal", "dirt", "stone", "glass", "wood", "water", "sand", "snow", "grass",
            "flesh", "energy", "concrete", "ice", "mud", "cloth", "plastic", "rubber",
            "gravel", "metal thin", "metal thick", "tree bark", "leaves"],
    "skypart": ["clouds", "horizon", "sun", "moon", "stars", "haze", "cloud layer",
                "far mountains", "sky dome", "sunset band", "cloud wisps"],
    "cpart": ["armor", "visor", "helmet", "chest", "legs", "arms", "backpack", "gloves",
              "boots", "shoulder pads", "face", "undersuit", "belt"],
    "wpart": ["barrel", "stock", "grip", "body", "trigger", "handle", "housing", "sight",
              "muzzle"],
    "hudpart": ["crosshair", "reticle", "ammo counter", "outline", "panel", "zoom mask",
                "icon", "heat meter", "ammo meter", "overlay", "pickup icon", "ammo icon"],
    "hudelem": ["crosshair default", "motion sensor", "shield meter", "health meter", "compass",
                "waypoint arrow", "team icon", "score panel", "flag icon", "ammo digits",
                "grenade icon", "timer frame", "damage arrow", "sensor blips", "hud frame"],
    "uielem": ["cursor", "background", "button frame", "divider", "logo", "list box", "arrow",
               "highlight", "slider", "checkbox", "title bar", "frame", "spinner", "tab",
               "tooltip frame", "scroll bar", "text cursor", "player icon", "team swatch",
               "map preview", "controller diagram", "volume bars", "rank icons"],
    "uistate": ["normal", "selected", "disabled", "pressed", "focused", "highlighted",
                "inactive", "default"],
    "menu": ["main menu", "multiplayer setup", "player settings", "game variant editor",
             "network game browser", "pregame lobby", "postgame statistics",
             "controller settings", "audio settings", "video settings", "player profiles",
             "error dialogs", "loading screens", "team game setup"],
    "submenu": ["join network game", "create network game", "player profile edit",
                "team selection", "map selection", "variant rules edit", "button layout",
                "look sensitivity", "display brightness", "sound volume",
                "maximum player count", "score limit", "time limit", "respawn options",
                "vehicle set options", "weapon set options", "player name entry",
                "armor color select", "server browser list", "connection status"],
    "widget": ["list", "list item", "header", "title", "back button", "help text", "panel",
               "frame", "cursor", "label", "value", "option list", "confirm dialog",
               "scroll arrows", "background", "accept button", "cancel button", "description",
               "status line", "tab bar", "footer"],
    "pkind": ["sparks", "chips", "smoke", "dust", "drops", "flecks", "debris", "puffs",
              "embers", "shards", "splash", "steam", "mist", "glow", "spray", "fragments"],
    "dkind": ["scorch", "bullet hole", "burn mark", "splat", "crack", "blast mark",
              "pock marks", "stain", "scuff", "dent"],
    "ctype": ["smoke trail", "vapor trail", "plasma trail", "tracer", "ion trail",
              "heat trail", "spark trail", "dust trail"],
    "lkind": ["flare", "glare", "glow", "corona", "star", "ring", "streak", "bloom",
              "hot spot", "soft glow"],
    "size": ["small", "medium", "large", "huge", "tiny"],
    "expk": ["fireball", "shockwave", "smoke ball", "flash", "debris cloud", "dust ring"],
    "waterk": ["ripples", "foam", "splash", "wake", "droplets"],
    "pw": ["health pack", "shield boost", "cloaking", "ammo crate", "frag grenades",
           "plasma grenades", "battery pack", "medkit"],
    "pwfx": ["pickup", "respawn", "shimmer", "pulse", "sparkle"],
    "vpart": ["body", "chassis", "seat", "engine", "armor plate", "gun mount", "lights"],
    "terrain": ["cliff rock", "grass blend", "dirt path", "snow drift", "mossy stone",
                "river bed", "sand dune", "gravel road", "muddy bank", "rock wall",
                "ground cover", "pine needles", "dry grass", "wet rock", "shoreline",
                "boulder field"],
    "weather": ["snow flake", "rain drop", "dust mote", "leaf", "fog wisp", "ash flake"],
    "struct": ["metal panel", "concrete wall", "bunker floor", "catwalk grate", "support beam",
               "pillar", "door frame", "hazard stripe", "light panel", "vent grille",
               "ramp surface", "stair tread"],
    "lmk": ["lightmap", "lightmap detail", "ambient", "shadow"],
    "wsnd": ["fire", "fire far", "fire first person", "reload", "ready", "melee",
             "empty click", "switch to", "pickup", "drop", "trigger"],
    "imps": ["small", "medium", "large", "hard", "soft", "glancing", "skid", "roll"],
    "vsnd": ["engine idle", "engine high", "engine low", "impact", "door", "gun fire",
             "eject", "boarding", "collision hard", "collision soft"],
    "csnd": ["pain", "death", "land hard", "land soft", "melee hit", "shield hit",
             "shield recharge", "shield depleted", "breathing", "jump", "armor rattle",
             "crouch", "body fall", "gasp"],
    "uisnd": ["cursor move", "forward", "back", "countdown", "flag alarm", "select", "error",
              "timer beep", "player joined", "player left", "message received", "game start",
              "menu open", "menu close"],
    "ann": ["game over", "flag taken", "flag dropped", "flag returned", "flag captured",
            "red team scores", "blue team scores", "one minute left", "thirty seconds left",
            "lead taken", "lead lost", "round begins", "round over", "overtime", "tie game",
            "team switch", "ball reset", "ball taken", "hill moved"],
    "amb": ["wind gust", "birds", "insects", "distant thunder", "water lapping", "creaking",
            "hum", "drips", "rumble", "leaves rustle", "stream", "waterfall", "crickets",
            "wind howl", "distant gunfire", "machinery"],
    "mus": ["intro", "tension", "action", "outro", "lobby", "victory", "defeat"],
    "impk": ["bullet", "plasma", "pellet", "needle", "flame", "explosion", "melee",
             "ricochet", "rocket", "grenade", "sniper", "energy"],
    "wfx": ["muzzle flash", "impact", "first person flash", "smoke", "spark", "glow",
            "ready", "melee"],
    "vfx": ["engine smoke", "exhaust", "destroyed", "damaged", "collision", "flip",
            "burning wreck", "water wake", "gun flash", "headlight"],
    "cfx": ["blood spray", "shield depleted", "shield recharge", "shield impact", "death",
            "body fall", "landing", "melee hit", "armor sparks", "spawn"],
    "lfx": ["waterfall mist", "steam vent", "dust devil", "spark shower", "torch fire",
            "smoke plume", "fireflies", "blowing leaves", "rain splash", "falling rocks",
            "teleporter glow", "beacon pulse"],
    "matfx": ["footstep", "skid", "splash", "scrape", "roll", "land", "hit", "slide"],
    "gfx": ["explosion", "bounce", "trail", "throw", "stick", "detonation warning"],
    "jpt": ["bullet", "melee", "explosion", "splash", "burn", "impact", "headshot", "charged"],
    "schik": ["plasma glow", "energy shield", "heat haze", "flame sheet", "ghost trail",
              "shield flare", "force field", "hologram", "scan lines", "teleporter field"],
    "lensk": ["sun glare", "muzzle glare", "plasma glare", "light glare", "star burst",
              "explosion glare", "headlight glare", "beacon glare"],
    "pp": ["heavy debris", "light debris", "dust", "smoke rise", "sparks fall", "floaty",
           "liquid drops", "embers", "shell casings", "ash", "leaves", "water drops"],
    "ptype": ["solid", "energy", "liquid", "smoke", "spark", "gas"],
    "llight": ["floodlight", "lamp", "torch", "beacon", "warm fill", "cold fill", "spotlight",
               "emergency light"],
    "lightk": ["glow", "flash", "flicker", "pulse", "burst", "fill"],
    "fontk": ["large ui", "small ui", "terminal", "hud numbers", "title", "console",
              "menu bold", "ticker", "subtitle"],
    "colk": ["team colors", "player colors", "default", "menu highlight", "hud colors"],
    "strk": ["main menu", "player setup", "game variant names", "error messages",
             "team names", "network messages", "map names", "hud messages", "controls"],
    "itmcg": ["heavy weapons", "pistols", "rifles", "grenades", "random weapons",
              "power weapons", "powerups", "ammo"],
    "vmatsnd": ["skid", "roll", "impact", "scrape", "splash"],
    "objpart": ["pole", "cloth", "base", "stand", "shell", "core", "glow ring"],
    "objhud": ["waypoint", "carrier arrow", "home marker", "taken icon", "reset timer"],
    "objfx": ["pickup", "drop", "return", "capture", "reset", "idle glow", "carrier trail",
              "spawn"],
    "projsnd": ["flyby", "impact", "whizz", "bounce", "expire", "detonate", "ricochet"],
    "projfx": ["impact", "trail", "expire", "flyby", "detonation", "ricochet", "glow"],
    "projvar": ["tracer", "fragment", "ricochet", "overcharged", "spent"],
    "meterk": ["health meter", "shield meter", "ammo meter", "battery meter", "heat meter",
               "motion sensor"],
    "metr": ["health", "shield", "energy", "oxygen", "ammo", "heat", "fuel", "battery",
             "charge", "stamina"],
    "glass": ["window", "skylight", "visor", "canopy", "panel", "lens"],
    "cont_w": ["contrail", "trail", "tracer"],
}

# Name templates per class and section theme; "any" serves every theme and is the fallback.
# {sd} is the subject's folder ("weapons/pistol"), {subj} its name, {proj} its projectile.
T = {
    "bitm": {
        "objective": ["{sd}/bitmaps/{subj} {maptype}", "{sd}/bitmaps/{subj} {objpart} {maptype}",
                      "ui/hud/bitmaps/{subj} {hudpart}", "ui/hud/bitmaps/{subj} {objhud}"],
        "sky": ["sky/{sky}/bitmaps/{skypart}", "sky/{sky}/bitmaps/{skypart} {maptype}",
                "sky/shared/bitmaps/{skypart}"],
        "ui": ["ui/shell/bitmaps/{uielem}", "ui/shell/{menu}/bitmaps/{uielem}",
               "ui/shell/{menu}/{submenu}/bitmaps/{uielem}", "ui/hud/bitmaps/{hudelem}",
               "ui/shell/{menu}/bitmaps/{uielem} {uistate}",
               "ui/shell/{menu}/{submenu}/bitmaps/{uielem} {uistate}"],
        "character": ["{sd}/bitmaps/{subj} {cpart} {maptype}", "{sd}/bitmaps/{subj} {cpart}",
                      "{sd}/fp/bitmaps/fp {cpart} {maptype}",
                      "effects/bitmaps/particles/{mat} {pkind}"],
        "weapon": ["{sd}/bitmaps/{subj} {maptype}", "{sd}/bitmaps/{subj} {wpart} {maptype}",
                   "{sd}/fp/bitmaps/fp {wpart} {maptype}", "ui/hud/bitmaps/{subj} {hudpart}",
                   "effects/bitmaps/particles/{mat} {pkind}", "{sd}/bitmaps/{proj} {pkind}"],
        "effects": ["effects/bitmaps/particles/{mat} {pkind}",
                    "effects/bitmaps/decals/{mat} {dkind}", "effects/bitmaps/contrails/{ctype}",
                    "effects/bitmaps/lights/{lkind}", "effects/bitmaps/explosions/{size} {expk}",
                    "effects/bitmaps/water/{waterk}"],
        "powerups": ["powerups/bitmaps/{pw} {maptype}", "ui/hud/bitmaps/{pw} icon",
                     "effects/bitmaps/particles/{pw} {pwfx}"],
        "vehicle": ["{sd}/bitmaps/{subj} {vpart} {maptype}", "{sd}/bitmaps/{subj} {maptype}",
                    "ui/hud/bitmaps/{subj} {hudpart}",
                    "effects/bitmaps/particles/{mat} {pkind}"],
        "scenery": ["{scd}/bitmaps/{scl} {maptype}", "{scd}/bitmaps/{scl}",
                    "scenery/bitmaps/{mat} {maptype}"],
        "level": ["levels/multi/{lvl}/bitmaps/{terrain} {maptype}",
                  "levels/multi/{lvl}/bitmaps/{terrain}", "levels/shared/bitmaps/{terrain} detail",
                  "effects/bitmaps/weather/{weather}"],
        "bsp": ["levels/multi/{lvl}/bitmaps/{terrain} {maptype}",
                "levels/multi/{lvl}/bitmaps/{struct} {maptype}",
                "levels/multi/{lvl}/bitmaps/lightmaps/{lvl} {lmk}",
                "levels/shared/bitmaps/{struct}"],
        "any": ["effects/bitmaps/particles/{mat} {pkind}", "effects/bitmaps/decals/{mat} {dkind}",
                "effects/bitmaps/lights/{lkind}", "effects/bitmaps/lights/{mat} {lkind}"],
        # Only for a row that must carry an unusually long name.
        "long": ["ui/shell/{menu}/{submenu}/{submenu2}/bitmaps/{uielem} {uistate}",
                 "ui/shell/{menu}/{submenu}/{submenu2}/bitmaps/{submenu2} {uielem}"],
    },
    "snd!": {
        "objective": ["sound/sfx/multiplayer/{subj}/{subj} {objfx}",
                      "sound/dialog/announcer/{ann}"],
        "ui": ["sound/sfx/ui/{uisnd}", "sound/dialog/announcer/{ann}",
               "sound/sfx/ui/{menu}/{uisnd}"],
        "character": ["sound/sfx/characters/{subj}/{csnd}",
                      "sound/sfx/footsteps/{mat} {matfx}", "sound/dialog/{subj}/{csnd}"],
        "weapon": ["sound/sfx/weapons/{subj}/{wsnd}", "sound/sfx/weapons/{subj}/{proj} {projsnd}",
                   "sound/sfx/impulse/impacts/{mat} {imps}"],
        "effects": ["sound/sfx/impulse/impacts/{mat} {imps}",
                    "sound/sfx/impulse/explosions/{size} explosion",
                    "sound/sfx/impulse/{impk}/{mat} {imps}", "sound/sfx/footsteps/{mat} {matfx}",
                    "sound/sfx/impulse/bodyfalls/{mat} {imps}"],
        "powerups": ["sound/sfx/powerups/{pw} {pwfx}", "sound/sfx/weapons/grenades/{gfx}",
                     "sound/dialog/announcer/{ann}"],
        "vehicle": ["sound/sfx/vehicles/{subj}/{vsnd}",
                    "sound/sfx/vehicles/{subj}/{mat} {vmatsnd}",
                    "sound/sfx/impulse/impacts/{mat} {imps}"],
        "scenery": ["sound/sfx/scenery/{scl}/{scl} {amb}",
                    "sound/sfx/impulse/impacts/{mat} {imps}"],
        "level": ["sound/sfx/ambience/{lvl}/{amb}", "sound/sfx/ambience/multiplayer/{amb}",
                  "sound/music/{lvl}/{mus}", "sound/sfx/ambience/details/{amb}"],
        "bsp": ["sound/sfx/ambience/{lvl}/{amb}", "sound/sfx/ambience/details/{amb}"],
        "any": ["sound/sfx/impulse/impacts/{mat} {imps}", "sound/sfx/ui/{uisnd}",
                "sound/sfx/impulse/{impk}/{mat} {imps}"],
    },
    "effe": {
        "objective": ["{sd}/effects/{subj} {objfx}", "effects/multiplayer/{subj} {objfx}"],
        "sky": ["sky/{sky}/effects/{lfx}"],
        "ui": ["ui/shell/effects/{uisnd}", "effects/ui/{uisnd}"],
        "character": ["{sd}/effects/{cfx}", "{sd}/effects/{subj} {cfx}",
                      "effects/impact/{impk}/{mat}"],
        "weapon": ["{sd}/effects/{subj} {wfx}", "{sd}/effects/{wfx}",
                   "{sd}/effects/{proj} {projfx}", "effects/impact/{impk}/{mat}"],
        "effects": ["effects/impact/{impk}/{mat}", "effects/impact/{impk}/{mat} {size}",
                    "effects/explosions/{size} explosion {mat}", "effects/burning/{mat} fire",
                    "effects/material/{mat} {matfx}"],
        "powerups": ["powerups/effects/{pw} {pwfx}", "weapons/frag grenade/effects/{gfx}",
                     "weapons/plasma grenade/effects/{gfx}"],
        "vehicle": ["{sd}/effects/{vfx}", "{sd}/effects/{subj} {vfx}",
                    "effects/impact/{impk}/{mat}"],
        "scenery": ["{scd}/effects/{scl} {lfx}", "effects/impact/{impk}/{mat}"],
        "level": ["levels/multi/{lvl}/effects/{lfx}", "effects/weather/{weather} {size}"],
        "bsp": ["levels/multi/{lvl}/effects/{lfx}"],
        "any": ["effects/impact/{impk}/{mat}", "effects/material/{mat} {matfx}",
                "effects/impact/{impk}/{mat} {size}"],
    },
    "part": {
        "objective": ["{sd}/effects/particles/{subj} {pkind}"],
        "weapon": ["{sd}/effects/particles/{subj} {pkind}",
                   "effects/particles/{ptype}/{mat} {pkind}"],
        "vehicle": ["{sd}/effects/particles/{subj} {pkind}",
                    "effects/particles/{ptype}/{mat} {pkind}"],
        "level": ["levels/multi/{lvl}/effects/particles/{weather}",
                  "effects/particles/{ptype}/{mat} {pkind}"],
        "any": ["effects/particles/{ptype}/{mat} {pkind}", "effects/particles/{ptype}/{pkind}",
                "effects/particles/{ptype}/{mat} {pkind} {size}"],
    },
    "jpt!": {
        "objective": ["{sd}/melee", "{sd}/{subj} melee"],
        "character": ["globals/falling", "globals/distance falling", "{sd}/{subj} melee",
                      "globals/{mat} contact"],
        "weapon": ["{sd}/{proj}", "{sd}/melee", "{sd}/{proj} {jpt}", "{sd}/{subj} {jpt}"],
        "vehicle": ["{sd}/{subj} collision damage", "{sd}/{proj}", "{sd}/{subj} {jpt}",
                    "{sd}/{subj} destroyed"],
        "powerups": ["weapons/frag grenade/{jpt}", "weapons/plasma grenade/{jpt}"],
        "any": ["effects/damage/{mat} {jpt}", "effects/damage/{size} {jpt}",
                "globals/{mat} {jpt}"],
    },
    "mode": {
        "objective": ["{sd}/{subj}", "{sd}/{subj} {objpart}", "{sd}/fp/fp"],
        "sky": ["sky/{sky}/{sky}", "sky/{sky}/{skypart}"],
        "character": ["{sd}/{subj}", "{sd}/fp/fp", "{sd}/{subj} {cpart}", "{sd}/fp/fp {cpart}"],
        "weapon": ["{sd}/{subj}", "{sd}/fp/fp", "{sd}/{proj}", "{sd}/{subj} {wpart}"],
        "vehicle": ["{sd}/{subj}", "{sd}/{subj} {vpart}", "{sd}/{subj} wreck"],
        "powerups": ["powerups/{pw}/{pw}", "weapons/frag grenade/frag grenade",
                     "weapons/plasma grenade/plasma grenade"],
        "scenery": ["{scd}/{scl}", "{scd}/{scl} {size}", "{scd}/{scl} broken"],
        "level": ["{scd}/{scl}", "levels/multi/{lvl}/models/{struct}"],
        "any": ["effects/models/{mat} shard", "effects/models/{mat} debris {size}",
                "{scd}/{scl}", "effects/models/{mat} chunk"],
    },
    "coll": {
        "objective": ["{sd}/{subj}", "{sd}/{subj} {objpart}"],
        "character": ["{sd}/{subj}", "{sd}/{subj} {cpart}"],
        "weapon": ["{sd}/{subj}", "{sd}/{proj}", "{sd}/{subj} {wpart}"],
        "vehicle": ["{sd}/{subj}", "{sd}/{subj} {vpart}", "{sd}/{subj} wreck"],
        "powerups": ["powerups/{pw}/{pw}", "weapons/frag grenade/frag grenade"],
        "any": ["{scd}/{scl}", "{scd}/{scl} {size}", "effects/models/{mat} debris"],
    },
    "phys": {"any": ["{sd}/{subj}"]},
    "vehi": {"any": ["{sd}/{subj}"]},
    "bipd": {"any": ["{sd}/{subj}", "characters/{subj}_mp/{subj}_mp"]},
    "actv": {"character": ["{sd}/{subj}", "characters/crawler/crawler", "{sd}/{subj} mp"],
             "any": ["characters/crawler/crawler"]},
    "antr": {
        "objective": ["{sd}/fp/fp", "{sd}/{subj}"],
        "character": ["{sd}/{subj}", "{sd}/fp/fp", "{sd}/{subj} mp"],
        "weapon": ["{sd}/fp/fp", "{sd}/{subj}", "{sd}/fp/fp {subj}"],
        "vehicle": ["{sd}/{subj}", "{sd}/{subj} {vpart}"],
        "any": ["{scd}/{scl}", "{scd}/{scl} idle"],
    },
    "trak": {"any": ["{sd}/{subj}", "{sd}/{subj} camera"]},
    "unhi": {"character": ["ui/hud/{subj}", "ui/hud/{subj} mp"],
             "vehicle": ["ui/hud/{subj} driver", "ui/hud/{subj} gunner"],
             "any": ["ui/hud/default unit", "ui/hud/{hudelem} unit"]},
    "wphi": {"objective": ["ui/hud/{subj}", "ui/hud/{subj} carrier"],
             "weapon": ["ui/hud/{subj}", "ui/hud/{subj} zoomed", "ui/hud/{subj} alt"],
             "vehicle": ["ui/hud/{subj} gunner", "ui/hud/{subj} gun"],
             "any": ["ui/hud/{pw}", "ui/hud/default weapon"]},
    "grhi": {"any": ["ui/hud/frag grenades", "ui/hud/plasma grenades"]},
    "foot": {"ui": ["globals/material_effects", "globals/vehicle material_effects"],
             "character": ["{sd}/{subj} material_effects", "{sd}/footsteps"],
             "any": ["{sd}/{subj} material_effects", "{sd}/material_effects"]},
    "deca": {
        "character": ["effects/decals/blood splats/{subj} blood", "effects/decals/{dkind} {mat}"],
        "weapon": ["effects/decals/{proj} holes/{mat}", "effects/decals/{subj} {dkind}"],
        "vehicle": ["{sd}/decals/{vfx}", "effects/decals/{dkind} {mat}"],
        "any": ["effects/decals/{impk} holes/{mat}", "effects/decals/{dkind} {mat}",
                "effects/decals/{size} {dkind}"],
    },
    "ligh": {
        "objective": ["{sd}/lights/{subj} {lightk}"],
        "weapon": ["{sd}/effects/{subj} {lightk}", "{sd}/lights/{proj} {lightk}"],
        "vehicle": ["{sd}/lights/{subj} headlight", "{sd}/lights/{subj} brake light",
                    "{sd}/lights/{subj} {lightk}"],
        "level": ["levels/multi/{lvl}/lights/{llight}",
                  "levels/multi/{lvl}/lights/{llight} {size}"],
        "bsp": ["levels/multi/{lvl}/lights/{llight}", "levels/multi/{lvl}/lights/{llight} {size}"],
        "sky": ["sky/{sky}/lights/{skypart} {lightk}"],
        "any": ["effects/lights/{mat} {lightk}", "effects/lights/{impk} {lightk}",
                "effects/lights/{size} {lightk}"],
    },
    "lens": {
        "objective": ["{sd}/lens flares/{subj} glow"],
        "sky": ["sky/{sky}/lens flares/sun", "sky/{sky}/lens flares/moon",
                "sky/{sky}/lens flares/{skypart}"],
        "weapon": ["{sd}/effects/{subj} {lensk}", "effects/lens flares/{lensk}"],
        "vehicle": ["{sd}/lens flares/{subj} headlight", "effects/lens flares/{lensk}"],
        "level": ["levels/multi/{lvl}/lens flares/{llight}"],
        "bsp": ["levels/multi/{lvl}/lens flares/{llight}"],
        "any": ["effects/lens flares/{lensk}", "effects/lens flares/{lensk} {size}"],
    },
    "DeLa": {
        "any": ["ui/shell/{menu}/{submenu}/{widget}", "ui/shell/{menu}/{widget}",
                "ui/shell/{menu}/{submenu}/{submenu2}/{widget}",
                "ui/shell/{menu}/{submenu} {widget}",
                "ui/shell/{menu}/{submenu}/{submenu2} {widget}"],
    },
    "pphy": {
        "weapon": ["{sd}/effects/{subj} {pp}", "effects/point physics/{pp}"],
        "vehicle": ["{sd}/effects/{subj} {pp}", "effects/point physics/{pp}"],
        "any": ["effects/point physics/{pp}", "effects/point physics/{mat} {pp}"],
    },
    "sotr": {
        "sky": ["sky/{sky}/shaders/{skypart}"],
        "weapon": ["{sd}/shaders/{subj} {wfx}", "effects/shaders/{proj} {projfx}"],
        "vehicle": ["{sd}/shaders/{subj} {vfx}"],
        "any": ["levels/multi/{lvl}/shaders/{terrain}", "levels/shared/shaders/{terrain}",
                "levels/multi/{lvl}/shaders/{terrain} blend"],
    },
    "soso": {
        "objective": ["{sd}/shaders/{subj} {objpart}", "{sd}/shaders/{subj}"],
        "sky": ["sky/{sky}/shaders/{skypart}"],
        "character": ["{sd}/shaders/{subj} {cpart}", "{sd}/fp/shaders/fp {cpart}"],
        "weapon": ["{sd}/shaders/{subj}", "{sd}/shaders/{subj} {wpart}",
                   "{sd}/fp/shaders/fp {wpart}"],
        "vehicle": ["{sd}/shaders/{subj} {vpart}", "{sd}/shaders/{subj}"],
        "powerups": ["powerups/shaders/{pw}", "weapons/frag grenade/shaders/frag grenade"],
        "scenery": ["{scd}/shaders/{scl}", "{scd}/shaders/{scl} {mat}"],
        "level": ["levels/multi/{lvl}/shaders/{struct}", "{scd}/shaders/{scl}"],
        "bsp": ["levels/multi/{lvl}/shaders/{struct}",
                "levels/multi/{lvl}/shaders/{struct} {mat}"],
        "any": ["{scd}/shaders/{scl}", "effects/shaders/{mat} debris",
                "effects/shaders/{mat} chunk"],
    },
    "senv": {
        "weapon": ["{sd}/shaders/{subj} env", "{sd}/shaders/{subj} {wpart} env"],
        "scenery": ["{scd}/shaders/{scl} env", "{scd}/shaders/{scl} {mat}"],
        "any": ["levels/multi/{lvl}/shaders/{terrain}", "levels/multi/{lvl}/shaders/{struct}",
                "levels/shared/shaders/{terrain} env"],
    },
    "schi": {
        "objective": ["{sd}/shaders/{subj} {objpart} glow"],
        "sky": ["sky/{sky}/shaders/{skypart} layer"],
        "weapon": ["{sd}/shaders/{subj} display", "{sd}/shaders/{subj} glow",
                   "{sd}/shaders/{proj} {schik}"],
        "vehicle": ["{sd}/shaders/{subj} {schik}", "{sd}/shaders/{subj} lights"],
        "any": ["effects/shaders/{schik}", "effects/shaders/{mat} {schik}"],
    },
    "sgla": {"vehicle": ["{sd}/shaders/{subj} windshield"],
             "scenery": ["{scd}/shaders/{scl} glass"],
             "any": ["levels/multi/{lvl}/shaders/glass {glass}",
                     "levels/shared/shaders/glass {glass}"]},
    "smet": {"weapon": ["ui/hud/shaders/{subj} ammo meter", "ui/hud/shaders/{subj} {meterk}"],
             "any": ["ui/hud/shaders/{meterk}", "ui/hud/shaders/{meterk} flash"]},
    "spla": {"any": ["powerups/shaders/cloaking shimmer", "effects/shaders/plasma shimmer"]},
    "proj": {
        "weapon": ["{sd}/{proj}", "{sd}/{proj} {projvar}"],
        "vehicle": ["{sd}/{proj}", "{sd}/{proj} {projvar}"],
        "powerups": ["weapons/frag grenade/frag grenade", "weapons/plasma grenade/plasma grenade"],
        "any": ["effects/projectiles/{mat} debris", "effects/projectiles/{pp}"],
    },
    "eqip": {
        "weapon": ["powerups/{subj} ammo/{subj} ammo", "powerups/{subj} ammo/{subj} ammo pack"],
        "any": ["powerups/{pw}", "powerups/{pw}/{pw}", "weapons/frag grenade/frag grenade",
                "weapons/plasma grenade/plasma grenade"],
    },
    "lsnd": {
        "weapon": ["sound/sfx/weapons/{subj}/fire loop", "sound/sfx/weapons/{subj}/{wsnd} loop"],
        "vehicle": ["sound/sfx/vehicles/{subj}/engine loop",
                    "sound/sfx/vehicles/{subj}/{vsnd} loop"],
        "any": ["sound/sfx/ambience/{lvl}/{amb} loop", "sound/music/{lvl}/{mus}",
                "sound/sfx/ambience/multiplayer/{amb} loop"],
    },
    "itmc": {
        "objective": ["weapons/multiplayer/{subj} spawn", "levels/multi/{lvl}/items/{subj} spawn"],
        "weapon": ["weapons/multiplayer/{subj}", "weapons/multiplayer/{subj} spawn"],
        "any": ["weapons/multiplayer/{itmcg}", "powerups/multiplayer/{pw}",
                "levels/multi/{lvl}/items/{itmcg}"],
    },
    "scen": {"any": ["{scd}/{scl}", "{scd}/{scl} {size}", "{scd}/{scl} {mat}"]},
    "cont": {"weapon": ["{sd}/effects/{proj} {cont_w}"],
             "vehicle": ["{sd}/effects/{proj} {cont_w}"],
             "any": ["effects/contrails/{ctype}", "effects/contrails/{mat} {ctype}"]},
    "mgs2": {"weapon": ["{sd}/effects/{subj} flash volume", "{sd}/effects/{proj} glow volume"],
             "vehicle": ["{sd}/effects/{subj} {vfx} volume"],
             "any": ["effects/light volumes/{lkind}", "effects/light volumes/{mat} {lkind}"]},
    "pctl": {"any": ["levels/multi/{lvl}/weather/{weather}", "effects/particle systems/{weather}",
                     "effects/particle systems/{pp}"]},
    "ustr": {"any": ["ui/shell/strings/{strk}", "ui/multiplayer/strings/{strk}",
                     "ui/hud/strings/{strk}"]},
    "font": {"any": ["ui/fonts/{fontk}"]},
    "colo": {"any": ["ui/shell/color tables/{colk}", "ui/hud/color tables/{colk}"]},
    "ant!": {"vehicle": ["{sd}/antenna", "{sd}/{subj} antenna"],
             "any": ["{scd}/antenna", "scenery/beacons/radio mast/mast antenna"]},
    "metr": {"any": ["ui/hud/meters/{metr}", "ui/hud/meters/{metr} meter", "ui/hud/{metr} meter"]},
    "Soul": {"any": ["ui/shell/shell widgets", "ui/shell/main menu widgets"]},
    "flag": {"any": ["{sd}/{subj}", "{sd}/{subj} cloth"]},
    "hm": {"any": ["ui/hud/hud messages", "ui/hud/message text"]},
    "hud#": {"any": ["ui/hud/hud numbers", "ui/hud/digits"]},
    "hudg": {"any": ["ui/hud/default", "ui/hud/hud globals"]},
    "matg": {"any": ["globals/globals"]},
    "sky": {"any": ["sky/{sky}/{sky}"]},
    "ssce": {"any": ["sound/sfx/ambience/{lvl}/{amb} emitter", "levels/multi/{lvl}/sound/{amb}"]},
    "str#": {"any": ["ui/messages", "ui/hud/text", "ui/shell/strings", "ui/hud/hud strings"]},
    "udlg": {"any": ["sound/dialog/{subj}/{subj}", "{sd}/{subj} dialogue"]},
    "wind": {"any": ["levels/multi/{lvl}/weather/wind", "levels/multi/{lvl}/{lvl} wind"]},
    "scnr": {"any": ["levels/multi/{lvl}/{lvl}"]},
    # Weapon rows and the last two rows have fixed paths; these only satisfy the table check.
    "weap": {"any": ["{sd}/{subj}"]},
    "snde": {"any": ["sound/sound environments/{amb}"]},
    "sbsp": {"any": ["levels/multi/{lvl}/{lvl}", "levels/multi/{lvl}/{lvl} bsp"]},
}
for _code in rules.CLASS_COUNTS:
    assert _code in T, _code

# ---------------------------------------------------------------------------------------------
# Layout. Each section is a run of rows about one theme; the fixed rows (weapons and the other
# anchors) sit at their own places, and a section fills the rows around them. Rare classes get
# exact quotas; the common ones are spread by affinity.

SECTIONS = [
    # first, last, theme, subject, quotas, classes that open the section
    (1, 8, "sky", None, {"sky": 1}, ["sky"]),
    (9, 140, "ui", None, {"matg": 1, "Soul": 1, "ustr": 6, "font": 4, "colo": 3, "hud#": 1,
                          "hudg": 1, "str#": 1, "hm": 1, "smet": 3, "grhi": 2, "unhi": 1,
                          "foot": 2}, ["matg"]),
    (141, 236, "character", "ranger", {"bipd": 2, "actv": 1, "udlg": 1, "trak": 2, "unhi": 1,
                                      "foot": 1, "colo": 1, "cont": 1}, ["bipd"]),
    (238, 300, "weapon", "assault rifle", {"smet": 1, "mgs2": 1, "cont": 1}, []),
    (301, 475, "effects", None, {"mgs2": 2, "cont": 2, "pctl": 1}, []),
    (477, 540, "weapon", "pistol", {"smet": 1}, []),
    (541, 600, "powerups", None, {"spla": 1, "mgs2": 1, "ustr": 1}, []),
    (601, 657, "character", "trooper", {"actv": 2}, ["actv"]),
    (659, 766, "vehicle", "warthog", {"vehi": 1, "phys": 1, "trak": 1, "unhi": 1, "ant!": 1,
                                      "foot": 1}, ["vehi"]),
    (768, 860, "vehicle", "scorpion", {"vehi": 1, "phys": 1, "trak": 1, "unhi": 1, "mgs2": 1},
     ["vehi"]),
    (862, 917, "vehicle", "ghost", {"vehi": 1, "phys": 1, "trak": 1, "unhi": 1, "foot": 1},
     ["vehi"]),
    (919, 1004, "weapon", "shotgun", {}, []),
    (1006, 1099, "weapon", "plasma rifle", {"mgs2": 1, "smet": 1, "cont": 1}, []),
    (1101, 1171, "weapon", "rocket launcher", {"cont": 2}, []),
    (1173, 1280, "weapon", "sniper rifle", {"cont": 1}, []),
    (1282, 1340, "weapon", "plasma pistol", {"smet": 1}, []),
    (1341, 1448, "scenery", None, {"ant!": 2, "sgla": 1}, []),
    (1450, 1500, "weapon", "flamethrower", {"mgs2": 1}, []),
    (1502, 1507, "weapon", "gravity rifle", {}, []),
    (1509, 1586, "weapon", "needler", {}, []),
    (1588, 1600, "objective", "ball", {}, []),
    (1602, 1693, "objective", "flag", {"flag": 1, "ustr": 1}, []),
    (1694, 1763, "level", None, {"pctl": 5, "wind": 1, "ssce": 1}, []),
    (1765, 1803, "bsp", None, {"sgla": 5, "pctl": 1}, []),
]

# How strongly each theme draws the classes that are spread by affinity.
AFFINITY = {
    "sky": {"mode": 1, "bitm": 3, "lens": 1, "ligh": 1, "soso": 1, "schi": 0.5, "sotr": 0.5},
    "ui": {"DeLa": 6, "bitm": 5, "snd!": 1.2, "effe": 0.2},
    "character": {"bitm": 3, "snd!": 3, "effe": 2, "mode": 1, "coll": 0.6, "antr": 1,
                  "jpt!": 0.6, "part": 0.6, "soso": 1, "pphy": 0.2, "deca": 0.4, "ligh": 0.2},
    "weapon": {"bitm": 3, "snd!": 3, "effe": 3, "part": 1, "jpt!": 1, "mode": 0.6, "coll": 0.3,
               "antr": 0.4, "proj": 0.35, "wphi": 0.35, "soso": 0.6, "schi": 0.3, "deca": 0.3,
               "ligh": 0.4, "lens": 0.2, "pphy": 0.2, "eqip": 0.1, "itmc": 0.15, "lsnd": 0.05,
               "senv": 0.05},
    "effects": {"effe": 4, "part": 2.5, "bitm": 3, "snd!": 3, "deca": 1.5, "jpt!": 0.6,
                "pphy": 0.8, "ligh": 0.6, "lens": 0.4, "schi": 0.3, "mode": 0.2},
    "powerups": {"eqip": 3, "proj": 0.5, "effe": 2, "bitm": 2, "snd!": 2, "mode": 1,
                 "coll": 0.5, "soso": 0.5, "jpt!": 1, "part": 0.5, "itmc": 1, "wphi": 0.2},
    "vehicle": {"bitm": 3, "snd!": 3, "effe": 2.5, "mode": 1, "coll": 0.8, "antr": 0.5,
                "soso": 1, "jpt!": 0.8, "part": 1, "lsnd": 0.6, "ligh": 0.4, "deca": 0.3,
                "proj": 0.3, "wphi": 0.15, "pphy": 0.3, "lens": 0.2, "schi": 0.2},
    "scenery": {"scen": 2, "mode": 2, "coll": 1.5, "soso": 2, "bitm": 3, "effe": 0.5,
                "snd!": 0.5, "senv": 0.5, "ligh": 0.3, "lens": 0.2, "antr": 0.2, "sotr": 0.3},
    "level": {"snd!": 3, "lsnd": 1.2, "effe": 1, "part": 1, "bitm": 2, "ligh": 0.5,
              "sotr": 0.5, "scen": 0.5, "itmc": 0.5, "lens": 0.2, "senv": 0.3},
    "objective": {"bitm": 3, "snd!": 2.5, "effe": 2, "part": 0.8, "mode": 0.8, "coll": 0.4,
                  "antr": 0.3, "soso": 1, "schi": 0.3, "jpt!": 0.3, "wphi": 0.3, "itmc": 1.5,
                  "ligh": 0.4, "lens": 0.2},
    "bsp": {"sotr": 3, "senv": 2, "soso": 1, "bitm": 3, "ligh": 1, "lens": 0.5, "deca": 0.5},
}
# Keeps every class placeable somewhere, without inviting it where it does not belong.
AFFINITY_FLOOR = 1e-4

# Depth of a class in a dependency walk: lower tiers reference higher ones.
TIER = {
    "scnr": 0, "sbsp": 0, "sky": 0, "matg": 0, "Soul": 0, "bipd": 0, "vehi": 0, "actv": 0,
    "scen": 0, "eqip": 0, "itmc": 0, "weap": 0, "flag": 0, "udlg": 0, "ssce": 0, "hudg": 0,
    "mode": 1, "coll": 1, "phys": 1, "antr": 1, "trak": 1, "unhi": 1, "wphi": 1, "grhi": 1,
    "proj": 1, "foot": 1, "DeLa": 1, "pctl": 1, "wind": 1, "lsnd": 1, "hud#": 1, "str#": 1,
    "hm": 1, "metr": 1,
    "effe": 2, "jpt!": 2,
    "part": 3, "deca": 3, "ligh": 3, "lens": 3, "mgs2": 3, "cont": 3, "pphy": 3,
}
LEAF_TIER = 4

SOUND_CLASSES = {"snd!", "lsnd", "ssce", "snde", "udlg"}
UI_CLASSES = {"DeLa", "ustr", "font", "colo", "Soul", "hud#", "hudg", "hm", "str#", "unhi",
              "wphi", "grhi", "smet", "metr"}

SUFFIX_WORDS = {
    "sound": ["lo", "hi", "mp", "fp", "in", "out", "far", "near", "soft", "hard", "loop",
              "start", "end", "short", "long", "heavy", "light", "quiet", "loud", "distant",
              "variant", "lod", "close", "muffled", "reverb", "outdoor", "indoor", "low",
              "high", "first person", "third person"],
    "ui": ["mp", "hd", "sd", "lo", "hi", "alt", "wide", "small", "large", "dim", "highlighted",
           "disabled", "selected", "pressed", "focused", "default", "compact", "split screen",
           "widescreen", "left", "right", "top", "bottom", "centered"],
    "visual": ["lo", "hi", "mp", "fp", "lod", "alt", "old", "big", "red", "blue", "dark", "wide",
               "thin", "soft", "warm", "cold", "tall", "large", "small", "heavy", "light",
               "faint", "inner", "outer", "bright", "detail", "medium", "broken", "damaged",
               "distant", "variant", "overlay", "animated", "secondary", "low detail",
               "high detail", "first person", "multiplayer", "reflected"],
}


def family(code):
    if code in SOUND_CLASSES:
        return "sound"
    if code in UI_CLASSES:
        return "ui"
    return "visual"


def build_suffixes(rng):
    """Suffixes by added length, cheapest first: [family][length] -> [(cost, text, digit)]."""
    table = {}
    numbers = [str(n) for n in range(2, 10)]
    for fam, words in SUFFIX_WORDS.items():
        found = {}

        def add(text, cost, digit=False):
            if 0 < len(text) <= MAX_PAD and text not in found:
                # Convex in length, so the fitter pads many names a little, not a few a lot.
                found[text] = (cost + 0.3 + 0.15 * len(text) + 0.025 * len(text) ** 2,
                               text, digit)

        for n in numbers:
            add(n, 0.8, digit=True)  # "fire2" reads worse than "fire 2": a last resort
            add(" " + n, 0.0)
        for n in range(10, 20):
            add(f" {n}", 0.3)
        for w in words:
            add(" " + w, 0.0)
            for n in numbers:
                add(f" {w} {n}", 0.2)
            for w2 in words:
                if w2 != w:
                    add(f" {w} {w2}", 1.0)
        by_length = {d: [] for d in range(1, MAX_PAD + 1)}
        entries = list(found.values())
        rng.shuffle(entries)  # ties go a different way for each seed
        entries.sort(key=lambda e: e[0])
        for entry in entries:
            by_length[len(entry[1])].append(entry)
        table[fam] = by_length
    return table


SIZE_WORDS = {"tiny", "small", "medium", "large", "huge", "big", "lo", "hi"}


def suffix_fits(base, suffix, digit):
    if digit:
        return base[-1].isalpha()
    leaf = base.rsplit("/", 1)[-1].split(" ")
    added = [word for word in suffix.split(" ") if word]
    if any(word in leaf for word in added):
        return False
    # "impact tiny small" says the size twice.
    return not (SIZE_WORDS.intersection(leaf) and SIZE_WORDS.intersection(added))


# ---------------------------------------------------------------------------------------------
# Names

_FIELD = re.compile(r"\{(\w+)\}")


def fill(template, ctx, rng):
    """Fills a template; a field named twice gets one word, "{menu2}" draws a second menu."""
    drawn = {}

    def one(match):
        key = match.group(1)
        if key in ctx and not isinstance(ctx[key], list):
            if ctx[key] is None:
                raise KeyError(key)
            return ctx[key]
        if key not in drawn:
            words = ctx.get(key) or VOCAB[key.rstrip("0123456789")]
            taken = set(drawn.values())
            drawn[key] = rng.choice([w for w in words if w not in taken] or words)
        return drawn[key]

    return _FIELD.sub(one, template)


def fresh_topic(rng, subject):
    """What a small family of neighbouring tags is about: a material, a prop, a projectile."""
    folder, leaf = rng.choice(SCENERY)
    topic = {"mat": rng.choice(VOCAB["mat"]), "scd": "scenery/" + folder, "scl": leaf}
    projectiles = WEAPONS.get(subject) or VEHICLES.get(subject)
    topic["proj"] = rng.choice(projectiles) if projectiles else None
    return topic


def name_ok(name, hi):
    return (len(name) <= hi and "." not in name and "\\" not in name
            and name == name.strip(" ") and all(" " <= c <= "~" for c in name))


def templates_for(code, theme, rng):
    # Mostly the theme's own templates, sometimes a generic one, as shared tags turn up anywhere.
    own = T[code].get(theme)
    if own and rng.random() < 0.85:
        return own
    return T[code].get("any") or own


def make_bases(code, ctx, rng, used, forced, hi, suffixes):
    """Up to VARIANTS distinct names for one row; the first is kept for this row alone.

    A name may be shorter than allowed: padding can still bring it up. A row of forced length
    only takes names that some suffix brings to exactly that length.
    """
    fam = family(code)

    def fits(name):
        if not name_ok(name, hi) or name in used:
            return False
        if forced is None:
            return True
        d = forced - len(name)
        return d == 0 or (0 < d <= MAX_PAD and any(
            suffix_fits(name, text, digit) for _c, text, digit in suffixes[fam][d]))

    pools = [templates_for(code, ctx["theme"], rng) for _ in range(40)]
    if forced is not None and "long" in T[code]:
        pools = [T[code]["long"]] * 40 + pools
    pools += [T[code]["any"]] * 40
    bases = []
    for pool in pools:
        try:
            name = fill(rng.choice(pool), ctx, rng)
        except KeyError:
            continue
        if fits(name) and name not in bases:
            bases.append(name)
            if len(bases) == VARIANTS:
                return bases, fam
    if bases:
        return bases, fam
    # Every natural name is taken: number one.
    for n in range(2, 500):
        try:
            name = f"{fill(rng.choice(pools[n % len(pools)]), ctx, rng)} {n}"
        except KeyError:
            continue
        if fits(name):
            return [name], fam
    raise RuntimeError(f"no name for a {code!r} row")


# ---------------------------------------------------------------------------------------------
# Class layout


def allocate(rng):
    """Returns the class of every row."""
    classes = [None] * ROWS
    remaining = dict(rules.CLASS_COUNTS)
    fixed = dict(rules.FIXED_CLASSES)
    for row, path in rules.FIXED_PATHS.items():
        fixed[row] = rules.split_path(path)[1]
    for row, code in fixed.items():
        classes[row] = code
        remaining[code] -= 1

    in_section = {}
    for index, (first, last, *_rest) in enumerate(SECTIONS):
        for row in range(first, last + 1):
            assert row not in in_section, row
            in_section[row] = index
    free_rows = [r for r in range(ROWS) if r not in fixed]
    assert all(r in in_section for r in free_rows), "a free row belongs to no section"

    section_rows = [[r for r in range(first, last + 1) if r not in fixed]
                    for first, last, *_rest in SECTIONS]
    for _first, _last, _theme, _subject, quotas, _leads in SECTIONS:
        for code, n in quotas.items():
            remaining[code] -= n
    assert all(n >= 0 for n in remaining.values()), remaining

    spread = [c for c in rules.CLASS_COUNTS if remaining[c] > 0]
    sizes = [len(rows) - sum(q.values())
             for rows, (_f, _l, _t, _s, q, _ld) in zip(section_rows, SECTIONS)]
    assert sum(sizes) == sum(remaining[c] for c in spread)
    weights = [[(AFFINITY[theme].get(c, 0.0) * rng.uniform(0.75, 1.33) + AFFINITY_FLOOR)
                for c in spread] for _f, _l, theme, _s, _q, _ld in SECTIONS]

    counts = []
    left = [remaining[c] for c in spread]
    for s in range(len(SECTIONS)):
        share = _scale(weights[s:], sizes[s:], left)[0]
        row_counts = _round_row(share, sizes[s], left)
        counts.append(row_counts)
        left = [a - b for a, b in zip(left, row_counts)]
    assert not any(left)

    for s, (first, last, theme, subject, quotas, leads) in enumerate(SECTIONS):
        items = []
        for code, n in quotas.items():
            items += [code] * n
        for code, n in zip(spread, counts[s]):
            items += [code] * n
        ordered = _dependency_order(items, leads, rng)
        for row, code in zip(section_rows[s], ordered):
            classes[row] = code
    assert None not in classes
    return classes, in_section


def _scale(weights, row_sums, col_sums):
    """Iterative proportional fitting of the weights to the wanted row and column sums."""
    m = [list(row) for row in weights]
    for _ in range(200):
        for i, row in enumerate(m):
            total = sum(row)
            if total > 0:
                k = row_sums[i] / total
                m[i] = [x * k for x in row]
        for j, want in enumerate(col_sums):
            total = sum(row[j] for row in m)
            if total > 0:
                k = want / total
                for row in m:
                    row[j] *= k
    return m


def _round_row(share, size, caps):
    counts = [min(int(x), cap) for x, cap in zip(share, caps)]
    while sum(counts) < size:
        order = sorted(range(len(share)), key=lambda j: (counts[j] - share[j], j))
        for j in order:
            if counts[j] < caps[j]:
                counts[j] += 1
                break
        else:
            raise RuntimeError("classes ran out before the rows did")
    while sum(counts) > size:
        j = max((j for j in range(len(share)) if counts[j] > 0),
                key=lambda j: (counts[j] - share[j], -j))
        counts[j] -= 1
    return counts


def _dependency_order(items, leads, rng):
    """Orders a section's classes as a depth-first walk of a random dependency tree."""
    nodes = list(items)
    lead_nodes = []
    for code in leads:
        if code in nodes:
            nodes.remove(code)
            lead_nodes.append(code)
    rng.shuffle(nodes)
    nodes = lead_nodes + nodes
    tiers = [TIER.get(code, LEAF_TIER) for code in nodes]
    children = [[] for _ in nodes]
    roots = []
    for i, tier in enumerate(tiers):
        parents = [j for j in range(len(nodes)) if tiers[j] < tier]
        if i < len(lead_nodes) or not parents or rng.random() < 0.12:
            roots.append(i)
        else:
            children[rng.choice(parents)].append(i)
    out = []
    stack = list(reversed(roots[:len(lead_nodes)] + roots[len(lead_nodes):]))
    while stack:
        i = stack.pop()
        out.append(nodes[i])
        stack.extend(reversed(children[i]))
    return out


# ---------------------------------------------------------------------------------------------
# Lengths


def segments():
    """Spans of rows whose name lengths must add up to a fixed total, with that total."""
    anchors = sorted(rules.NAME_OFFSETS.items())
    spans = []
    start_row, start_offset = 0, rules.FIRST_NAME_OFFSET
    for row, offset in anchors:
        count = row - start_row
        spans.append((start_row, row, offset - start_offset - count))
        start_row, start_offset = row, offset
    spans.append((start_row, ROWS, None))
    return spans


def fit_lengths(options, target, rng):
    """Picks one length per row, summing to target, spreading the padding thinly.

    options[i] maps each length row i can take to its cost.
    """
    n = len(options)
    if target is None:
        return [min(o, key=lambda L: (o[L], L)) for o in options]
    avg = target / n
    cur = [min(o, key=lambda L: (o[L] + 0.04 * abs(L - avg), L)) for o in options]
    jitter = [rng.random() * 1e-3 for _ in range(n)]
    diff = target - sum(cur)
    version = [0] * n

    def best_move(i):
        o, here = options[i], cur[i]
        best = None
        for L, cost in o.items():
            step = L - here
            if step == 0 or (step > 0) != (diff > 0) or abs(step) > abs(diff):
                continue
            score = (cost - o[here]) / abs(step) + jitter[i]
            if best is None or (score, abs(step)) < best[:2]:
                best = (score, abs(step), L)
        return best

    heap = []
    for i in range(n):
        move = best_move(i)
        if move:
            heap.append((move[0], move[1], i, version[i], move[2]))
    heapq.heapify(heap)
    while diff and heap:
        score, step, i, ver, L = heapq.heappop(heap)
        if ver != version[i] or abs(L - cur[i]) > abs(diff):
            move = best_move(i)
            if move:
                heapq.heappush(heap, (move[0], move[1], i, version[i], move[2]))
            continue
        diff -= L - cur[i]
        cur[i] = L
        version[i] += 1
        move = best_move(i)
        if move:
            heapq.heappush(heap, (move[0], move[1], i, version[i], move[2]))
    if diff:
        cur = _exact_lengths(options, target, cur)
    return cur


def _exact_lengths(options, target, prefer):
    """Subset-sum fallback for when greedy moves get stuck one or two characters short."""
    reach = [1]
    for o in options:
        bits = 0
        for L in o:
            bits |= reach[-1] << L
        reach.append(bits)
    if not (reach[-1] >> target) & 1:
        raise RuntimeError(f"no choice of lengths adds up to {target}")
    out = [0] * len(options)
    rest = target
    for i in range(len(options) - 1, -1, -1):
        o = options[i]
        for L in sorted(o, key=lambda L: (L != prefer[i], o[L], L)):
            if rest - L >= 0 and (reach[i] >> (rest - L)) & 1:
                out[i] = L
                rest -= L
                break
    assert rest == 0
    return out


# ---------------------------------------------------------------------------------------------


def generate(seed=0):
    """Returns the path list (without line ends) for the given seed."""
    last_error = None
    for attempt in range(ATTEMPTS):
        rng = random.Random(seed * 1009 + attempt)
        try:
            lines = _generate_once(rng)
        except RuntimeError as error:
            last_error = error
            continue
        problems = rules.check(lines)
        if not problems:
            return lines
        last_error = RuntimeError(problems[0])
    raise RuntimeError(f"seed {seed}: {last_error}")


def _generate_once(rng):
    level = rng.choice(LEVELS)
    sky = rng.choice(SKIES)
    classes, in_section = allocate(rng)
    suffixes = build_suffixes(rng)

    # The shortest name sits on the one string list row; its natural name is that short.
    forced = {rules.LONGEST_ROW: rules.LONGEST_NAME,
              classes.index("str#"): rules.SHORTEST_NAME}
    # A span of a single row fixes that row's length outright.
    for start, end, total in segments():
        if end - start == 1 and start not in rules.FIXED_PATHS:
            forced[start] = total

    # A tag mostly keeps the topic of the tag listed before it (in a dependency walk, its parent
    # or a sibling), so neighbours read as one family; objects and effects start a new one.
    contexts = [None] * ROWS
    topic = None
    for row in range(ROWS):
        if row in in_section:
            _first, _last, theme, subject, _q, _l = SECTIONS[in_section[row]]
        elif row == 0:
            theme, subject = "level", None
        else:
            theme, subject = "bsp", None
        if subject in WEAPONS:
            sd = "weapons/" + subject
        elif subject in VEHICLES:
            sd = "vehicles/" + subject
        elif subject:
            sd = "characters/" + subject
        else:
            sd = None
        if topic is None or rng.random() < 0.3 or TIER.get(classes[row], LEAF_TIER) < 2:
            topic = fresh_topic(rng, subject)
        ctx = dict(topic, theme=theme, subj=subject, sd=sd, lvl=level, sky=sky)
        for key, words in SUBJECT_WORDS.get(subject, {}).items():
            ctx[key] = VOCAB[key] + words
        contexts[row] = ctx

    fixed_names = {row: rules.split_path(p)[0] for row, p in rules.FIXED_PATHS.items()}
    used = {code: set() for code in rules.CLASS_COUNTS}
    for row, name in fixed_names.items():
        used[classes[row]].add(name)

    bases = [None] * ROWS
    fams = [None] * ROWS
    for row in range(ROWS):
        if row in fixed_names:
            continue
        hi = max(forced.get(row, 0), rules.LONGEST_OTHER_NAME)
        bases[row], fams[row] = make_bases(classes[row], contexts[row], rng, used[classes[row]],
                                           forced.get(row), hi, suffixes)
        used[classes[row]].add(bases[row][0])
    # A later row may have made one of an earlier row's spare names its own.
    for row in range(ROWS):
        if bases[row] is not None:
            own = bases[row][0]
            bases[row] = [own] + [b for b in bases[row][1:] if b not in used[classes[row]]]

    options = []
    for row in range(ROWS):
        if row in fixed_names:
            options.append({len(fixed_names[row]): 0.0})
            continue
        want = forced.get(row)
        lo, hi = ((want, want) if want is not None
                  else (rules.SHORTEST_NAME, rules.LONGEST_OTHER_NAME))
        o = {}
        for k, base in enumerate(bases[row]):
            base_cost = 0.0 if k == 0 else 0.1
            for d in range(0, MAX_PAD + 1):
                L = len(base) + d
                if not lo <= L <= hi:
                    continue
                if d == 0:
                    cost = base_cost
                else:
                    cost = next((base_cost + c for c, text, digit in suffixes[fams[row]][d]
                                 if suffix_fits(base, text, digit)), None)
                    if cost is None:
                        continue
                if L not in o or cost < o[L]:
                    o[L] = cost
        if not o:
            raise RuntimeError(f"row {row} cannot take an allowed length")
        options.append(o)

    lengths = [None] * ROWS
    segment_of = [None] * ROWS
    for start, end, total in segments():
        lengths[start:end] = fit_lengths(options[start:end], total, rng)
        segment_of[start:end] = [(start, end)] * (end - start)

    taken = {code: set() for code in rules.CLASS_COUNTS}
    reserved = {code: {} for code in rules.CLASS_COUNTS}
    for row in range(ROWS):
        if row in fixed_names:
            taken[classes[row]].add(fixed_names[row])
        else:
            reserved[classes[row]][bases[row][0]] = row
    names = [None] * ROWS
    for row, name in fixed_names.items():
        names[row] = name

    def pick(row, length):
        return _pick_name(row, length, bases[row], suffixes[fams[row]], taken[classes[row]],
                          reserved[classes[row]], rng)

    for row in range(ROWS):
        if names[row] is not None:
            continue
        name = pick(row, lengths[row])
        if name is None:
            # Two rows wanted the same spare name: trade a few characters with another row of
            # the same span, which keeps the span's total.
            name = _trade_length(row, lengths, options, names, taken, classes,
                                 segment_of[row], set(forced) | set(fixed_names), pick)
        if name is None:
            raise RuntimeError(f"row {row}: every {lengths[row]}-character name is taken")
        names[row] = name
        taken[classes[row]].add(name)
    return [f"{name}.{code}" for name, code in zip(names, classes)]


def _trade_length(row, lengths, options, names, taken, classes, segment, pinned, pick):
    if row in pinned:
        return None
    start, end = segment
    # Unnamed rows first: they only need a length that is on offer.
    others = [r for r in range(row + 1, end) if r not in pinned]
    others += [r for r in range(row - 1, start - 1, -1) if r not in pinned]
    for delta in (1, -1, 2, -2, 3, -3, 4, -4):
        if lengths[row] + delta not in options[row]:
            continue
        name = pick(row, lengths[row] + delta)
        if name is None:
            continue
        for other in others:
            new_length = lengths[other] - delta
            if new_length not in options[other]:
                continue
            if names[other] is None:
                lengths[other] = new_length
                lengths[row] += delta
                return name
            # A named row gives its name up only if it finds another one at the new length.
            old = names[other]
            taken[classes[other]].discard(old)
            renamed = pick(other, new_length)
            if renamed is not None and renamed != name:
                names[other] = renamed
                taken[classes[other]].add(renamed)
                lengths[other] = new_length
                lengths[row] += delta
                return name
            taken[classes[other]].add(old)
    return None


def _pick_name(row, length, bases, suffixes, taken, reserved, rng):
    """The cheapest free name of the given length; equally cheap ones are drawn at random."""
    found = []
    for k, base in enumerate(bases):
        d = length - len(base)
        if d < 0 or d > MAX_PAD:
            continue
        base_cost = 0.0 if k == 0 else 0.1
        choices = [(0.0, "", False)] if d == 0 else suffixes[d]
        kept = 0
        for cost, text, digit in choices:
            if d and not suffix_fits(base, text, digit):
                continue
            name = base + text
            if name in taken or reserved.get(name, row) != row:
                continue
            found.append((base_cost + cost, name))
            kept += 1
            if kept == 12:
                break
    if not found:
        return None
    cheapest = min(cost for cost, _name in found)
    return rng.choice([name for cost, name in found if cost <= cheapest + 0.05])


def main(argv=None):
    parser = argparse.ArgumentParser(description="Write the catalogue's tag path list.")
    parser.add_argument("--seed", type=int, default=0,
                        help="0 gives the committed list; others give other valid lists")
    parser.add_argument("output")
    args = parser.parse_args(argv)
    lines = generate(args.seed)
    with open(args.output, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
