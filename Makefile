# The two commands a fresh clone needs: `make play` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: play test build deps format clean

play: build
	cd levels && ../$(BUILD)/blastovia

test: build
	cd $(BUILD) && ctest --output-on-failure

build: deps
	cmake -S . -B $(BUILD) $(if $(shell command -v ninja),-G Ninja) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# Installs whatever the build and the tests need and the machine lacks.
deps:
	@tools/install-deps

format:
	clang-format -i game/*.h game/*.cpp console/*.h console/*.cpp tests/*.h tests/*.cpp

clean:
	rm -rf $(BUILD)
