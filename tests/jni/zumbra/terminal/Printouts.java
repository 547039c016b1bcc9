package zumbra.terminal;

import java.util.ArrayList;
import java.util.List;
import java.util.function.IntSupplier;

// The report printouts of NativeEcrPaymentTerminal, each as the calls that
// build it, with the business log line by which each call's printout
// function makes itself known: a method that reached another function (the
// standard report for the fiscal one, a start for an add) shows by its line.
final class Printouts {
    private Printouts() {}

    static final class Step {
        final String method;
        final IntSupplier call;
        final String logLine;

        Step(String method, IntSupplier call, String logLine) {
            this.method = method;
            this.call = call;
            this.logLine = logLine;
        }
    }

    private static Step step(String method, IntSupplier call, String logLine) {
        return new Step(method, call, logLine);
    }

    // A long report: start, one entry, finish.
    private static Step[] longReport(String name, String start, IntSupplier startCall, String add,
                                     IntSupplier addCall, String finish, IntSupplier finishCall) {
        return new Step[] {
            step(start, startCall, "Generate " + name + " printout"),
            step(add, addCall, "Add next report entry to " + name + " printout"),
            step(finish, finishCall, "Finish " + name + " printout"),
        };
    }

    private static Step[] analysis(String name, String prefix, IntSupplier start, IntSupplier entry,
                                   IntSupplier summary, IntSupplier finish) {
        return new Step[] {
            step("start" + prefix + "TransactionAnalysis", start, "Generate " + name + " printout"),
            step("add" + prefix + "FullTransactionAnalysisEntry", entry,
                 "Add next report entry to " + name + " printout"),
            step("add" + prefix + "FullTransactionAnalysisSummary", summary,
                 "Add summary to " + name + " printout"),
            step("finish" + prefix + "TransactionAnalysis", finish, "Finish " + name + " printout"),
        };
    }

    private static Step[] closingDay(String name, String prefix, IntSupplier start, IntSupplier add,
                                     IntSupplier finish) {
        return new Step[] {
            step("start" + prefix + "ClosingDay", start, "Start preparing closing day printout"),
            step("add" + prefix + "ClosingDayTransaction", add,
                 "Add next report entry to " + name + " printout"),
            step("finish" + prefix + "ClosingDay", finish, "Finish " + name + " printout"),
        };
    }

    // Each report is built on a printout context of its own: a closing day
    // stays open on its context.
    static final Step[][] REPORTS = {
        {step("prepareShortSummary", NativeEcrPaymentTerminal::prepareShortSummary,
              "Generate short summary printout")},
        {step("prepareShortTransactionAnalysis", NativeEcrPaymentTerminal::prepareShortTransactionAnalysis,
              "Generate transaction analysis printout")},
        {step("prepareFiscalShortSummary", NativeEcrPaymentTerminal::prepareFiscalShortSummary,
              "Generate fiscal short summary printout")},
        {step("prepareFiscalShortTransactionAnalysis",
              NativeEcrPaymentTerminal::prepareFiscalShortTransactionAnalysis,
              "Generate fiscal short transaction analysis printout")},
        longReport("long summary", "startFullSummary", NativeEcrPaymentTerminal::startFullSummary,
                   "addFullSummaryEntry", NativeEcrPaymentTerminal::addFullSummaryEntry,
                   "finishFullSummary", NativeEcrPaymentTerminal::finishFullSummary),
        longReport("fiscal long summary", "startFiscalFullSummary",
                   NativeEcrPaymentTerminal::startFiscalFullSummary, "addFiscalFullSummaryEntry",
                   NativeEcrPaymentTerminal::addFiscalFullSummaryEntry, "finishFiscalFullSummary",
                   NativeEcrPaymentTerminal::finishFiscalFullSummary),
        longReport("transaction DCC analysis", "startDccAnalysis", NativeEcrPaymentTerminal::startDccAnalysis,
                   "addDccAnalysisEntry", NativeEcrPaymentTerminal::addDccAnalysisEntry,
                   "finishDccAnalysis", NativeEcrPaymentTerminal::finishDccAnalysis),
        longReport("fiscal transaction DCC analysis", "startFiscalDccAnalysis",
                   NativeEcrPaymentTerminal::startFiscalDccAnalysis, "addFiscalDccAnalysisEntry",
                   NativeEcrPaymentTerminal::addFiscalDccAnalysisEntry, "finishFiscalDccAnalysis",
                   NativeEcrPaymentTerminal::finishFiscalDccAnalysis),
        analysis("long transaction analysis", "", NativeEcrPaymentTerminal::startTransactionAnalysis,
                 NativeEcrPaymentTerminal::addFullTransactionAnalysisEntry,
                 NativeEcrPaymentTerminal::addFullTransactionAnalysisSummary,
                 NativeEcrPaymentTerminal::finishTransactionAnalysis),
        analysis("fiscal long transaction analysis", "Fiscal",
                 NativeEcrPaymentTerminal::startFiscalTransactionAnalysis,
                 NativeEcrPaymentTerminal::addFiscalFullTransactionAnalysisEntry,
                 NativeEcrPaymentTerminal::addFiscalFullTransactionAnalysisSummary,
                 NativeEcrPaymentTerminal::finishFiscalTransactionAnalysis),
        closingDay("closing day", "", NativeEcrPaymentTerminal::startClosingDay,
                   NativeEcrPaymentTerminal::addClosingDayTransaction,
                   NativeEcrPaymentTerminal::finishClosingDay),
        closingDay("fiscal closing day", "Fiscal", NativeEcrPaymentTerminal::startFiscalClosingDay,
                   NativeEcrPaymentTerminal::addFiscalClosingDayTransaction,
                   NativeEcrPaymentTerminal::finishFiscalClosingDay),
    };

    // The names of every report method.
    static List<String> reportMethods() {
        List<String> names = new ArrayList<>();
        for (Step[] report : REPORTS) {
            for (Step s : report) names.add(s.method);
        }
        return names;
    }
}
