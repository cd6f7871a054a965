// The test OLAP server for the XMLA tests: its XMLA servlet in an embedded
// Jetty on 127.0.0.1 and a free port, printed as "PORT <n>" once it serves.
// It stops when its standard input closes (the test program ended) or on
// SIGTERM.
//
//   java -cp <jars> XmlaTestServer <file: URL of the datasources file>
import org.eclipse.jetty.server.Server;
import org.eclipse.jetty.server.ServerConnector;
import org.eclipse.jetty.servlet.ServletContextHandler;
import org.eclipse.jetty.servlet.ServletHolder;

public final class XmlaTestServer {
    public static void main(String[] args) throws Exception {
        org.apache.log4j.Logger.getRootLogger().setLevel(org.apache.log4j.Level.OFF);
        Server server = new Server();
        ServerConnector connector = new ServerConnector(server);
        connector.setHost("127.0.0.1");
        connector.setPort(0);
        server.addConnector(connector);
        ServletContextHandler context = new ServletContextHandler();
        ServletHolder holder = new ServletHolder(new mondrian.xmla.impl.MondrianXmlaServlet());
        holder.setInitParameter("DataSourcesConfig", args[0]);
        holder.setInitParameter("CharacterEncoding", "UTF-8");
        holder.setInitOrder(0);
        context.addServlet(holder, "/xmla");
        server.setHandler(context);
        server.start();
        System.out.println("PORT " + connector.getLocalPort());
        System.out.flush();
        while (System.in.read() >= 0) {
        }
        server.stop();
        System.exit(0);
    }
}
