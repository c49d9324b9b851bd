# The two everyday commands. Both install what they need first (scripts/install-deps).
.PHONY: demo test build

JOBS ?= $(shell nproc)

build:
	./scripts/install-deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

# Builds everything, writes a fresh demo map into build/demo and opens the editor on it.
demo: build
	./scripts/demo

# Builds everything and runs every test.
test:
	./scripts/test-all
