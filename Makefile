# The two commands a fresh clone needs: `make play` and `make test`.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Ninja when the machine has it; a folder configured before keeps its own.
generator = $(if $(wildcard $(1)/CMakeCache.txt),,$(if $(shell command -v ninja),-G Ninja))
# The sanitized build uses clang when there is one, so that every test run
# builds the code with both compilers.
SANITIZE_CXX := $(or $(shell command -v clang++),c++)

.PHONY: play test build sanitize deps format clean

play: build
	cd levels && ../$(BUILD)/blastovia

# Every test, on the normal build and again under the sanitizers.
test: build sanitize
	cd $(BUILD) && ctest --output-on-failure
	cd $(SANITIZE_BUILD) && ctest --output-on-failure

build: deps
	cmake -S . -B $(BUILD) $(call generator,$(BUILD)) $(CMAKE_FLAGS)
	cmake --build $(BUILD) --parallel

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) $(call generator,$(SANITIZE_BUILD)) -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_CXX_COMPILER=$(SANITIZE_CXX) -DBLASTOVIA_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) --parallel

# Installs whatever the build and the tests need and the machine lacks.
deps:
	@tools/install-deps

format:
	clang-format -i game/*.h game/*.cpp console/*.h console/*.cpp tests/*.h tests/*.cpp fuzz/*.cpp bench/*.cpp

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
