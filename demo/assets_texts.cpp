// The scroll texts and the heart spin table. Every byte of a scroll text is
// drawn as a glyph, line breaks included: they show as the heart of the text
// font in the giant scroller and as a star of the sprite sheet in the hearts
// scroll. Trailing spaces pace the text between lines.
#include "assets.h"

// Both scroll texts greet the same groups and end with the same signature.
#define GREETING_LINES \
    "BARNACLE BYTES, CORAL CIRCUIT, \n" \
    "URCHIN LABS, SANDBAR SOUND, \n" \
    "LAGOON LOGIC, DRIFTWOOD DIGITAL, \n" \
    "SALTMARSH, PLANKTON PIXEL, \n" \
    "MUDSKIPPER, ANEMONE ARTS, \n" \
    "REEF RIOT, TIDAL TRACKERS, \n" \
    "FOGHORN FACTORY, SEAGLASS, \n" \
    "KRILL KOMMANDO, BLUE LOBSTER, \n" \
    "SHIPWRECK SYNDICATE, \n" \
    "NAUTICAL NOISE, WAVEFORM WHARF, \n" \
    "HARBOUR HACKERS, DEEP TRENCH \n" \
    "AND ALL DIVERS AT THE PARTY!  \n"
#define SIGNATURE_LINES \
    "CODE, PIXELS AND MUSIC  \n" \
    "BY TIDEPOOL  \n" \
    "NOVEMBER 2010  \n"

// The giant block-letter scroller: 61 lines of at most 34 characters.
const char big_scroll_text[] =
    "    \n"
    "KELP4090  \n"
    "20101108  \n"
    "PRESS KEYS: \n"
    "ESC,Q: EXIT \n"
    "SPACE: NEXT PART  \n"
    "8: SHOW F.P.S. ON/OFF   \n"
    "9: FULL SPEED ON/OFF   \n"
    "AS: SCROLL SPEED    \n"
    "    \n"
    "THIS NEW CREATION, \n"
    "5 PART DEMOSTRATION, \n"
    "GRAPHICS EFFECTS AND \n"
    "ELECTRONIC/HOUSE MUSIC! \n"
    "    \n"
    "AVAILABLE FOR WXP AND LINUX. \n"
    "SDL LIBRARY VERSION. \n"
    "    \n"
    "GREETINGS TO:  \n"
    GREETING_LINES
    "    \n"
    "VISIT: WWW.EXAMPLE.ORG/KELP  \n"
    "    \n"
    "CONTACT: TIDEPOOL@EXAMPLE.ORG  \n"
    "    \n"
    "UNIVERSAL DECLARATION  \n"
    "OF HUMAN RIGHTS,  \n"
    "1948-12-10:  \n"
    "ARTICLE 18 -\n"
    "EVERYONE HAS THE RIGHT TO FREEDOM \n"
    "OF THOUGHT, CONSCIENCE AND \n"
    "RELIGION; THIS RIGHT INCLUDES \n"
    "FREEDOM TO CHANGE HIS RELIGION OR \n"
    "BELIEF, AND FREEDOM, EITHER ALONE \n"
    "OR IN COMMUNITY WITH OTHERS AND \n"
    "IN PUBLIC OR PRIVATE, TO MANIFEST \n"
    "HIS RELIGION OR BELIEF IN \n"
    "TEACHING, PRACTICE, WORSHIP AND \n"
    "OBSERVANCE. \n"
    "    \n"
    "VISIT: WWW.EXAMPLE.ORG/KELP  \n"
    "    \n"
    "CONTACT: TIDEPOOL@EXAMPLE.ORG  \n"
    "    \n"
    SIGNATURE_LINES
    "    \n"
    "9.8.7.6.5.4.3.2.1.0 \n"
    "    \n";

// The waving page over the bubbles: 16 rows of 16 characters, no line breaks.
const char grid_text[] =
    "      KELP      "
    "      4090      "
    "                "
    "    20101108    "
    "                "
    "                "
    "   PRESS KEYS:  "
    "                "
    "ESC,Q: EXIT     "
    "SPACE: NEXT PART"
    "8: SHOW F.P.S.  "
    "9: FULL SPEED   "
    "AS: SCROLL SPEED"
    "                "
    "TIDE@EXAMPLE.ORG"
    "  TIDEPOOL 2010 ";

// The pink sine-wave scroll over the hearts: 76 lines of at most 33 characters.
const char hearts_scroll_text[] =
    "               \n"
    "KELP  \n"
    "DEMO  \n"
    "4090  \n"
    "20101108  \n"
    "      \n"
    "PRESS KEYS: \n"
    "ESC,Q: EXIT  \n"
    "SPACE: NEXT PART  \n"
    "8: SHOW F.P.S. ON/OFF   \n"
    "9: FULL SPEED ON/OFF   \n"
    "AS: SCROLL SPEED    \n"
    "      \n"
    "VISIT: WWW.EXAMPLE.ORG/KELP  \n"
    "      \n"
    "CONTACT: TIDEPOOL@EXAMPLE.ORG  \n"
    "      \n"
    "Windows and Linux \n"
    "demostration. \n"
    "This demo shows you: \n"
    "- a drifting tile floor \n"
    "- a swinging logo \n"
    "- giant bouncing block letters \n"
    "- a waving page of text \n"
    "- bubbles flying at you in 3D \n"
    "- soap windows over spirals \n"
    "- spinning hearts in 4 layers \n"
    "- this sine wave scroller \n"
    "- additive bobs painting \n"
    "- and a house music loop!   \n"
    "      \n"
    "THIS DEMO IS AVAILABLE FOR \n"
    "WINDOWS XP AND LINUX. \n"
    "SDL LIBRARY VERSION. \n"
    "      \n"
    "GREETINGS TO:  \n"
    GREETING_LINES
    "      \n"
    "VISIT: WWW.EXAMPLE.ORG/KELP  \n"
    "      \n"
    "CONTACT: TIDEPOOL@EXAMPLE.ORG  \n"
    "      \n"
    "UNIVERSAL DECLARATION \n"
    "OF HUMAN RIGHTS, \n"
    "1948-12-10: \n"
    "ARTICLE 18 - \n"
    "NO ONE SHALL BE SUBJECTED TO \n"
    "ARBITRARY INTERFERENCE WITH HIS \n"
    "PRIVACY, FAMILY, HOME OR \n"
    "CORRESPONDENCE, NOR TO ATTACKS \n"
    "UPON HIS HONOUR AND REPUTATION. \n"
    "EVERYONE HAS THE RIGHT TO THE \n"
    "PROTECTION OF THE LAW AGAINST \n"
    "SUCH INTERFERENCE OR ATTACKS. \n"
    "      \n"
    "VISIT: WWW.EXAMPLE.ORG/KELP  \n"
    "      \n"
    "CONTACT: TIDEPOOL@EXAMPLE.ORG  \n"
    "      \n"
    SIGNATURE_LINES
    "      \n"
    "9.8.7.6.5.4.3.2.1.0 \n"
    "      \n";

#undef GREETING_LINES
#undef SIGNATURE_LINES

// Width of each of the 64 frames of a spinning heart. Frames 0-31 are one
// half-turn, from edge-on to full width and back; frames 32-63 the other
// half-turn, with the same widths negated.
const int32_t spin_table[64] = {
     2,   6,   9,  12,  15,  18,  20,  23,  25,  27,  28,  30,  31,  31,  32,  32,
    32,  32,  31,  31,  30,  28,  27,  25,  23,  20,  18,  15,  12,   9,   6,   2,
    -2,  -6,  -9, -12, -15, -18, -20, -23, -25, -27, -28, -30, -31, -31, -32, -32,
   -32, -32, -31, -31, -30, -28, -27, -25, -23, -20, -18, -15, -12,  -9,  -6,  -2,
};
