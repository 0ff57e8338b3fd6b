// The precompiled headers' own target needs one file to compile.
