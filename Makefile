# Shorthands for the scripts the README names; the scripts install what they need themselves.
.PHONY: demo test build

build:
	./scripts/build-all

demo:
	./scripts/demo

test:
	./scripts/test-all
