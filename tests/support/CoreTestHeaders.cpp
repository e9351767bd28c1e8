// The core test programs' precompiled header is made with this empty unit's
// flags; the programs reuse it.
