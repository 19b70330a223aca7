// What the page's tests and its benchmarks share: Debian's chromium, the page
// opened with a watch on its console and requests, the road job chosen as a
// user chooses it, downloads, and talver-batch on one thread.
"use strict";

const assert = require("node:assert");
const fs = require("fs");
const path = require("path");
const { execFileSync } = require("child_process");
const { chromium } = require("playwright-core");
const { serveFolder } = require("./static-server.js");

const top = path.resolve(__dirname, "../..");
const site = path.resolve(process.env.TALVER_SITE || path.join(top, "build-web/site"));
const batch = path.resolve(process.env.TALVER_BATCH || path.join(top, "build/talver-batch"));
const examples = path.join(top, "examples");

// The road job of the README, as the page and talver-batch are given it.
const roadArguments = ["--data", "groups.csv", "--group", "sample", "--target-group", "original",
    "--replication-group", "retest", "--items", "q1-q10", "--missing", "-9"];

function launchBrowser() {
    return chromium.launch({
        executablePath: process.env.TALVER_CHROMIUM || "/usr/bin/chromium",
        args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync"],
    });
}

// One browser and one local server of the page for the tests of a file,
// closed after them with the folder `scratch`.
function sharedBrowserAndServer(test, scratch) {
    const shared = {};
    test.before(async () => {
        shared.browser = await launchBrowser();
        shared.server = await serveFolder(site);
    });
    test.after(async () => {
        await shared.browser.close();
        shared.server.close();
        fs.rmSync(scratch, { recursive: true, force: true });
    });
    return shared;
}

// Runs talver-batch on one thread in `folder`: its status, stderr and wall time.
function runBatch(args, folder) {
    const started = process.hrtime.bigint();
    let stderr = "";
    let status = 0;
    try {
        execFileSync(batch, args.concat(["--threads", "1"]), { cwd: folder, stdio: ["ignore", "ignore", "pipe"] });
    } catch (failure) {
        status = failure.status;
        stderr = failure.stderr.toString();
    }
    return { status, stderr, seconds: Number(process.hrtime.bigint() - started) / 1e9 };
}

// Opens the page and waits for its engine; `problems` collects console
// errors, page errors and requests outside `origin`.
async function openPage(browser, url, origin) {
    const page = await browser.newPage({ acceptDownloads: true });
    const problems = [];
    page.on("console", (message) => { if (message.type() === "error") { problems.push("console: " + message.text()); } });
    page.on("pageerror", (error) => problems.push("page error: " + error.message));
    page.on("request", (request) => {
        const address = request.url();
        if (!address.startsWith(origin) && !address.startsWith("blob:") && !address.startsWith("data:")) {
            problems.push("request outside the page's folder: " + address);
        }
    });
    await page.goto(url);
    await page.waitForSelector("#engine-state:text('Engine ready.')");
    return { page, problems };
}

// Chooses items `first` to `last` by click and shift-click in the table.
async function clickItemRange(page, first, last) {
    await page.click(`#preview th:text-is('${first}')`);
    await page.click(`#preview th:text-is('${last}')`, { modifiers: ["Shift"] });
    assert.strictEqual(await page.inputValue("#items"), `${first}-${last}`);
}

async function chooseRoadJob(page, dataFile) {
    await page.setInputFiles("#file-one", dataFile);
    await page.waitForSelector("#preview th");
    await clickItemRange(page, "q1", "q10");
    await page.selectOption("#group", "sample");
    await page.waitForSelector("#target-group option[value=original]", { state: "attached" });
    await page.selectOption("#target-group", "original");
    await page.selectOption("#replication-group", "retest");
    // The page suggests the code it finds among the items' scores.
    await page.click("#missing-suggestions button:text-is('add -9')");
    assert.strictEqual(await page.inputValue("#missing"), "-9");
}

async function download(page, id) {
    const [file] = await Promise.all([page.waitForEvent("download"), page.click(id)]);
    return fs.readFileSync(await file.path(), "utf8");
}

// Computes and waits for the results: the engine's seconds as the page
// shows them, and the seconds from the click to the report in the page.
async function computeInPage(page) {
    const started = process.hrtime.bigint();
    await page.click("#compute");
    await page.waitForSelector("#results-section:not([hidden])", { timeout: 1800000 });
    const shown = Number(process.hrtime.bigint() - started) / 1e9;
    return { engine: Number((await page.textContent("#run-time")).match(/([0-9.]+) s/)[1]), shown };
}

module.exports = {
    top, site, batch, examples, roadArguments,
    launchBrowser, sharedBrowserAndServer, runBatch, openPage, clickItemRange, chooseRoadJob, download, computeInPage,
};
