# The two commands a fresh clone needs: `make play` and `make test`.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
GENERATOR := $(if $(shell command -v ninja),-G Ninja)

.PHONY: play test build sanitize deps format clean

play: build
	cd levels && ../$(BUILD)/blastovia

# Every test, on the normal build and again under the sanitizers.
test: build sanitize
	cd $(BUILD) && ctest --output-on-failure
	cd $(SANITIZE_BUILD) && ctest --output-on-failure

build: deps
	cmake -S . -B $(BUILD) $(GENERATOR) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DBLASTOVIA_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD)

# Installs whatever the build and the tests need and the machine lacks.
deps:
	@tools/install-deps

format:
	clang-format -i game/*.h game/*.cpp console/*.h console/*.cpp tests/*.h tests/*.cpp

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
