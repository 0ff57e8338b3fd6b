// A target that only precompiles headers needs one file to compile.
