// The road job in the page against talver-batch on one thread, timed in the
// same run: they alternate, several times, and the medians are compared.
// The page's time is the engine's (from the worker's call to its outputs);
// the time from the click on Compute to the report drawn in the page, as
// the page's own clock sees it, is given beside it. On a loaded machine wall
// times say little, so CPU times are compared too: talver-batch's (user +
// system), and the browser's over the click to the report, all its
// processes and threads together (the optimising compiler's included).
// First runs are apart, each in a browser of its own: the browser optimises
// the module's hot functions while they run. The researcher's choice of
// the data takes a while, the robot's little: Compute is clicked PAUSE
// seconds after the page is ready (5 unless TALVER_PAUSE says otherwise).
// Options beyond the road job's (TALVER_OPTIONS, for example "--dispersion
// polychoric") go to both, chosen in the page's field of the option's name.
// Given several built pages (for example of two compiler settings), each is
// timed in turn within every repeat.
//   TALVER_BATCH=build/talver-batch node web/tests/bench-road.js [REPEATS] [SITE...]
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const { execFileSync } = require("child_process");
const { serveFolder } = require("./static-server.js");
const { site, batch, examples, roadArguments, launchBrowser, openPage, chooseRoadJob, computeInPage } =
    require("./page-driver.js");

const repeats = Number(process.argv[2] || 7);
const pause = Number(process.env.TALVER_PAUSE || 5);
const options = (process.env.TALVER_OPTIONS || "").split(/\s+/).filter((word) => word !== "");
const chooseOptions = async (page) => {
    for (let i = 0; i + 1 < options.length; i += 2) {
        const field = "#" + options[i].replace(/^--/, "");
        if (await page.$eval(field, (element) => element.tagName === "SELECT")) {
            await page.selectOption(field, options[i + 1]);
        } else {
            await page.fill(field, options[i + 1]);
        }
    }
};
const sites = process.argv.length > 3 ? process.argv.slice(3).map((p) => path.resolve(p)) : [site];
const median = (values) => {
    const sorted = values.slice().sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const ticks = Number(execFileSync("getconf", ["CLK_TCK"]).toString());

// CPU seconds of process `root` and of every process below it.
function cpuOfTree(root) {
    const stats = fs.readdirSync("/proc").filter((name) => /^\d+$/.test(name)).map((pid) => {
        try {
            const fields = fs.readFileSync(`/proc/${pid}/stat`, "utf8").replace(/^.*\) /, "").split(" ");
            return { pid: Number(pid), parent: Number(fields[1]), cpu: (Number(fields[11]) + Number(fields[12])) / ticks };
        } catch (gone) {
            return null;
        }
    }).filter((stat) => stat);
    const inTree = new Set([root]);
    let grown = true;
    while (grown) {
        grown = false;
        for (const stat of stats) {
            if (!inTree.has(stat.pid) && inTree.has(stat.parent)) { inTree.add(stat.pid); grown = true; }
        }
    }
    return stats.filter((stat) => inTree.has(stat.pid)).reduce((sum, stat) => sum + stat.cpu, 0);
}

const load = () => fs.readFileSync("/proc/loadavg", "utf8").split(" ").slice(0, 3).join(" ");

(async () => {
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "talver-bench-"));
    fs.copyFileSync(path.join(examples, "groups.csv"), path.join(scratch, "groups.csv"));
    // talver-batch on one thread: wall and CPU seconds.
    const batchRun = () => {
        const started = process.hrtime.bigint();
        execFileSync("/usr/bin/time", ["-f", "%U %S", "-o", "cpu.txt", batch].concat(roadArguments,
            options, ["--threads", "1", "--output", "batch.txt"]), { cwd: scratch, stdio: "ignore" });
        const [user, system] = fs.readFileSync(path.join(scratch, "cpu.txt"), "utf8").trim().split(" ").map(Number);
        return { wall: Number(process.hrtime.bigint() - started) / 1e9, cpu: user + system };
    };
    // This process and its children: the browser, with little of our own.
    const browserPid = process.pid;
    const pageRun = async (page) => {
        const before = cpuOfTree(browserPid);
        // The click, and the first frame after the report is in the page
        // (its section shown, its frame holding this run's report, not the
        // last one's), by the page's clock: the rendering that follows the
        // animation frame that finds it draws it.
        await page.evaluate(() => {
            window.benchTimes = {};
            const section = () => {
                const report = document.getElementById("report-frame").contentDocument;
                return report === null ? null : report.getElementById("results-in-words");
            };
            const before = section();
            const shown = () => !document.getElementById("results-section").hidden && ![null, before].includes(section());
            const look = () => {
                if (shown()) {
                    setTimeout(() => { window.benchTimes.drawn = performance.now(); });
                } else {
                    requestAnimationFrame(look);
                }
            };
            document.getElementById("compute").addEventListener("click", () => {
                window.benchTimes.click = performance.now();
                requestAnimationFrame(look);
            }, { once: true, capture: true });
        });
        const times = await computeInPage(page);
        await page.waitForFunction(() => window.benchTimes.drawn !== undefined);
        const drawn = await page.evaluate(() => (window.benchTimes.drawn - window.benchTimes.click) / 1000);
        return { engine: times.engine, shown: drawn, cpu: cpuOfTree(browserPid) - before };
    };
    const sizeOf = (folder) => fs.readdirSync(folder).reduce((sum, name) => sum + fs.statSync(path.join(folder, name)).size, 0);
    const ratios = (label, b, e, s, cpuB, cpuP) => `${label}: talver-batch ${b.toFixed(3)} s, page ${e.toFixed(3)} s ` +
        `(ratio ${(e / b).toFixed(2)}), report shown ${s.toFixed(3)} s after the click (ratio ${(s / b).toFixed(2)}); ` +
        `CPU ${cpuB.toFixed(2)} s and ${cpuP.toFixed(2)} s in the browser (ratio ${(cpuP / cpuB).toFixed(2)})`;
    console.log(`load before: ${load()}; options: the road job's${options.length ? " and " + options.join(" ") : ""}`);
    const servers = [];
    for (const folder of sites) {
        servers.push({ folder, server: await serveFolder(folder), first: { batch: [], batchCpu: [], engine: [], shown: [], cpu: [] },
            later: { batch: [], batchCpu: [], engine: [], shown: [], cpu: [] } });
    }
    const record = (into, run, inPage) => {
        into.batch.push(run.wall);
        into.batchCpu.push(run.cpu);
        into.engine.push(inPage.engine);
        into.shown.push(inPage.shown);
        into.cpu.push(inPage.cpu);
    };
    const firstRuns = Math.max(1, Math.ceil(repeats / 2));
    for (let i = 0; i < firstRuns; ++i) {
        for (const s of servers) {
            const browser = await launchBrowser();
            const { page } = await openPage(browser, s.server.url + "index.html", s.server.url);
            await chooseRoadJob(page, path.join(examples, "groups.csv"));
            await chooseOptions(page);
            await page.waitForTimeout(pause * 1000);
            const run = batchRun();
            record(s.first, run, await pageRun(page));
            await browser.close();
        }
    }
    const browser = await launchBrowser();
    for (const s of servers) {
        const { page } = await openPage(browser, s.server.url + "index.html", s.server.url);
        await chooseRoadJob(page, path.join(examples, "groups.csv"));
        await chooseOptions(page);
        await pageRun(page);
        s.page = page;
    }
    for (let i = 0; i < repeats; ++i) {
        for (const s of servers) {
            const run = batchRun();
            record(s.later, run, await pageRun(s.page));
        }
    }
    console.log(`load after: ${load()}`);
    for (const s of servers) {
        for (const [label, m] of [[`first runs (medians of ${firstRuns}, Compute ${pause} s after the page was ready)`, s.first],
            [`later runs (medians of ${repeats})`, s.later]]) {
            console.log(ratios(`${s.folder}, ${label}`, median(m.batch), median(m.engine), median(m.shown),
                median(m.batchCpu), median(m.cpu)));
        }
        console.log(`${s.folder}: the page's files ${(sizeOf(s.folder) / 1e6).toFixed(2)} MB`);
        s.server.close();
    }
    await browser.close();
    fs.rmSync(scratch, { recursive: true, force: true });
})();
